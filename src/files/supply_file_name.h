// SupplyFileName: the control's file chooser, on the component's one file dialog.
#pragma once

#include <string>

#include "automation/dispatch.h"
#include "component/platform.h"

namespace quelo {

class Component;

// The arguments as the control's type library passes them: Dialog_Caption, InitDir (by
// reference: comes back trimmed, with a separator at its end), FileType (by reference),
// VerifyFileExistence (by reference: False on return for a caption that begins with "save as"),
// GraphicOrEditControl (by reference), ShowInsertButton. Returns the chosen full file name, or
// empty when the user cancelled.
std::string supplyFileName(Component& component, const Platform& platform, Args& args);

}  // namespace quelo
