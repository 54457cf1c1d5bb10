// The ADO type of an ODBC result column, and how its values are fetched.
#pragma once

#include <cstdint>

#include "data/recordset/field_list.h"

namespace quelo {

// The C type a column's values are fetched as. Digits is a number's decimal text, which is ASCII
// in every driver: it needs no conversion from UTF-16 (Text), which some drivers make costly.
enum class OdbcFetch { WholeNumber, Single, Double, Bit, Date, Time, Timestamp, Guid, Digits, Text, Binary };

struct OdbcColumnType {
  FieldInfo field;  // without its name
  OdbcFetch fetch = OdbcFetch::Text;
  // Characters (text) or bytes (binary) a value can hold; 0 for unbounded (a long column) and
  // for fixed-size values.
  int64_t maxLength = 0;
};

// From the column's SQL type code, its column size and whether it is unsigned (SQLDescribeCol,
// SQL_DESC_UNSIGNED).
OdbcColumnType odbcColumnType(int sqlType, uint64_t columnSize, bool isUnsigned);

}  // namespace quelo
