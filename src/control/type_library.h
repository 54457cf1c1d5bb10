// The published type library of the control: its members with dispatch ids, parameters and help
// strings, its events and its enums. Dispatch, the command line's describe and the designer all
// read this one table.
#pragma once

#include "automation/type_info.h"

namespace quelo {

const TypeLibraryInfo& zeQueloTypeLibrary();

// Dispatch ids used by the control itself.
namespace dispid {
inline constexpr int32_t kZeTimer = 1;
inline constexpr int32_t kReportStatus = 2;
inline constexpr int32_t kClick = -600;
}  // namespace dispid

}  // namespace quelo
