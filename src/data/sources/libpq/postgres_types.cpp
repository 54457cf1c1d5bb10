#include "data/sources/libpq/postgres_types.h"

#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr int32_t kVarHeader = 4;  // varchar(n) and char(n) carry n + 4 as their modifier

FieldInfo typed(int32_t type, int32_t definedSize = 0) {
  return FieldInfo{"", type, definedSize > 0 ? definedSize : ado::defaultDefinedSize(type), ado::sourceAttributes(type)};
}

}  // namespace

FieldInfo postgresColumnType(uint32_t typeOid, int32_t typeModifier) {
  using namespace ado;
  const int32_t length = typeModifier >= kVarHeader ? typeModifier - kVarHeader : 0;
  switch (typeOid) {
    case pg::kInt2: return typed(adSmallInt);
    case pg::kInt4: return typed(adInteger);
    case pg::kInt8: return typed(adBigInt);
    case pg::kFloat4: return typed(adSingle);
    case pg::kFloat8: return typed(adDouble);
    case pg::kNumeric: return typed(adNumeric);
    case pg::kBool: return typed(adBoolean);
    case pg::kDate: return typed(adDBDate);
    case pg::kTime: return typed(adDBTime);
    case pg::kTimestamp:
    case pg::kTimestampTz: return typed(adDBTimeStamp);
    case pg::kVarchar: return length > 0 ? typed(adVarWChar, length) : typed(adLongVarWChar);
    case pg::kBpchar: return length > 0 ? typed(adChar, length) : typed(adLongVarWChar);
    case pg::kBytea: return typed(adLongVarBinary);
    case pg::kUuid: return typed(adGUID);
    default: return typed(adLongVarWChar);
  }
}

}  // namespace quelo
