#include "data/sources/odbc/odbc_types.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "data/recordset/ado.h"

namespace quelo {
namespace {

// A declared length beyond this is no length: such a column is long text or binary.
constexpr uint64_t kLongestDeclared = INT32_MAX;

OdbcColumnType typed(int32_t type, OdbcFetch fetch, int64_t maxLength = 0, int32_t definedSize = 0) {
  return {FieldInfo{"", type, definedSize > 0 ? definedSize : ado::defaultDefinedSize(type), ado::sourceAttributes(type)},
          fetch, maxLength};
}

OdbcColumnType text(int32_t type, uint64_t size) {
  if (size == 0 || size > kLongestDeclared) return typed(ado::adLongVarWChar, OdbcFetch::Text);
  const auto n = static_cast<int32_t>(size);
  return typed(type, OdbcFetch::Text, n, n);
}

}  // namespace

OdbcColumnType odbcColumnType(int sqlType, uint64_t columnSize, bool isUnsigned) {
  using namespace ado;
  switch (sqlType) {
    case SQL_TINYINT: return typed(adSmallInt, OdbcFetch::WholeNumber);
    case SQL_SMALLINT: return typed(isUnsigned ? adInteger : adSmallInt, OdbcFetch::WholeNumber);
    case SQL_INTEGER: return typed(isUnsigned ? adBigInt : adInteger, OdbcFetch::WholeNumber);
    // An unsigned 64-bit number may not fit a signed one: it is read as text, exact.
    case SQL_BIGINT: return isUnsigned ? typed(adNumeric, OdbcFetch::Digits, 20) : typed(adBigInt, OdbcFetch::WholeNumber);
    case SQL_REAL: return typed(adSingle, OdbcFetch::Single);
    case SQL_FLOAT:
    case SQL_DOUBLE: return typed(adDouble, OdbcFetch::Double);
    // Precision, sign, point and exponent.
    case SQL_NUMERIC:
    case SQL_DECIMAL: return typed(adNumeric, OdbcFetch::Digits, columnSize > 0 && columnSize < 1000 ? static_cast<int64_t>(columnSize) + 8 : 0);
    case SQL_BIT: return typed(adBoolean, OdbcFetch::Bit);
    case SQL_DATE:
    case SQL_TYPE_DATE: return typed(adDBDate, OdbcFetch::Date);
    case SQL_TIME:
    case SQL_TYPE_TIME: return typed(adDBTime, OdbcFetch::Time);
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return typed(adDBTimeStamp, OdbcFetch::Timestamp);
    case SQL_CHAR:
    case SQL_WCHAR: return text(adChar, columnSize);
    case SQL_VARCHAR:
    case SQL_WVARCHAR: return text(adVarWChar, columnSize);
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return typed(adLongVarWChar, OdbcFetch::Text);
    case SQL_BINARY:
    case SQL_VARBINARY: {
      const bool bounded = columnSize > 0 && columnSize <= kLongestDeclared;
      return typed(adLongVarBinary, OdbcFetch::Binary, bounded ? static_cast<int64_t>(columnSize) : 0);
    }
    case SQL_LONGVARBINARY: return typed(adLongVarBinary, OdbcFetch::Binary);
    case SQL_GUID: return typed(adGUID, OdbcFetch::Guid);
    default: return typed(adLongVarWChar, OdbcFetch::Text);  // every other type in its text form
  }
}

}  // namespace quelo
