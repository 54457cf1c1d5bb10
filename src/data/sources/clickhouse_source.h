// Record sets from a ClickHouse server over HTTP (through libcurl): the rows of one query, by URL
// ("http://[USER[:PASSWORD]@]HOST[:PORT][/?database=NAME]", https too). The rows stream as the
// server writes them (FORMAT TabSeparatedWithNamesAndTypes); the query runs with the server's
// readonly=1, which refuses writes and setting changes, after the statement guard of the ODBC
// source (checkOneQuery). Errors carry the server's words: its exception text, whether it comes
// as the answer's status or after some rows (it is never taken for rows: a row holding a text
// such as "Code: 62, e.displayText() = ..." is taken for the server's exception, and fails).
//
// Column types (ClickHouse type -> ADO type; Nullable(T) and LowCardinality(T) as T, \N Null):
//   Int8, UInt8, Int16 adSmallInt; UInt16, Int32 adInteger; UInt32, Int64 adBigInt; UInt64 and
//   wider integers adNumeric (up to 15 digits a number, beyond that exact as text, as the ODBC
//   source does for an unsigned BIGINT); Float32 adSingle and Float64 adDouble (the server writes
//   the shortest decimal of the value, read as a double: 0.1 stays 0.1; inf, nan as Infinity,
//   NaN); Decimal(P, S) adNumeric (more than 15 digits exact, as text); Bool adBoolean; Date
//   adDBDate; DateTime, DateTime64 adDBTimeStamp, in the time zone of the column (DateTime('Zone'))
//   or else of the server, as the server writes it: no offset is kept; String adLongVarWChar and
//   FixedString(n) adChar n, their bytes as they are (text that is not UTF-8 too, as the SQLite
//   source keeps it; a FixedString keeps its NUL padding); UUID adGUID; Enum8/Enum16 (the name),
//   and every other type (Array, Tuple ...) in the server's text form, adLongVarWChar. A value
//   that does not fit its type's grammar (the zero date 0000-00-00) is kept as its text.
#pragma once

#include <memory>
#include <string>

#include "data/recordset/row_source.h"

namespace quelo {

// Without libcurl at build time, running the source is an error that says so.
std::shared_ptr<RowSource> clickhouseQuery(std::string url, std::string sql);

}  // namespace quelo
