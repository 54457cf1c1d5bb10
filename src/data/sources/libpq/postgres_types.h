// The ADO type of a PostgreSQL result column, from its type OID and type modifier.
#pragma once

#include <cstdint>

#include "data/recordset/field_list.h"

namespace quelo {

// Type OIDs of the built-in types that get a type of their own.
namespace pg {
inline constexpr uint32_t kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25,
                          kFloat4 = 700, kFloat8 = 701, kBpchar = 1042, kVarchar = 1043, kDate = 1082,
                          kTime = 1083, kTimestamp = 1114, kTimestampTz = 1184, kNumeric = 1700, kUuid = 2950;
}

FieldInfo postgresColumnType(uint32_t typeOid, int32_t typeModifier);

}  // namespace quelo
