// The ADO types of SQLite's declared column types.
#include <cstdlib>

#include "data/sources/sqlite_source.h"
#include "data/recordset/ado.h"
#include "automation/text.h"

namespace quelo {
namespace {

// The n of "CHAR(n)" or "VARCHAR(n)" (any letter case, blanks allowed), if there is one.
std::optional<int32_t> declaredLength(std::string_view upper) {
  const size_t open = upper.find('(', upper.find("CHAR"));
  if (open == std::string_view::npos) return std::nullopt;
  size_t at = open + 1;
  while (at < upper.size() && upper[at] == ' ') ++at;
  int64_t n = 0;
  const size_t first = at;
  while (at < upper.size() && upper[at] >= '0' && upper[at] <= '9' && n <= INT32_MAX) n = n * 10 + (upper[at++] - '0');
  if (at == first || n > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(n);
}

FieldInfo typed(int32_t type, int32_t definedSize = 0) {
  return FieldInfo{"", type, definedSize ? definedSize : ado::defaultDefinedSize(type), ado::sourceAttributes(type)};
}

}  // namespace

std::optional<FieldInfo> sqliteColumnType(std::string_view declaredType) {
  using namespace ado;
  const std::string upper = toUpper(declaredType);
  auto has = [&upper](std::string_view word) { return upper.find(word) != std::string::npos; };
  if (has("INT")) return typed(has("BIGINT") ? adBigInt : adInteger);
  if (has("REAL") || has("FLOA") || has("DOUB")) return typed(adDouble);
  if (has("NUMERIC") || has("DECIMAL")) return typed(adNumeric);
  if (has("BOOL")) return typed(adBoolean);
  if (has("DATE") || has("TIME")) return typed(adDBTimeStamp);
  if (has("CHAR")) {
    if (auto length = declaredLength(upper); length && *length > 0) return typed(adVarWChar, *length);
    return typed(adLongVarWChar);
  }
  if (has("TEXT") || has("CLOB")) return typed(adLongVarWChar);
  if (has("BLOB")) return typed(adLongVarBinary);
  return std::nullopt;
}

}  // namespace quelo
