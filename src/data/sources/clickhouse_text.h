// Reading ClickHouse's tab-separated answers: column types, escaped values and the server's
// exception texts (see clickhouse_source.h for the type table).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/recordset/field_list.h"
#include "data/recordset/row_table.h"

namespace quelo {

// The ADO type of a column of the ClickHouse type `type` (as the answer's second line names it).
FieldInfo clickhouseColumnType(std::string_view type);

// One tab-separated value without its escapes (\t \n \\ \0 \' \xHH ...) into `out`; false for
// a value that ends in a lone backslash or a cut \x escape. "\N" (Null) is the caller's.
bool unescapeTsv(std::string_view escaped, std::string& out);

// Puts a value's unescaped text into a cell of `type` (inf and nan of a float as Infinity, NaN).
void putClickhouseValue(RowTable& table, int64_t row, int column, int32_t type, std::string_view text);

// The words of the server's exception when `text` starts as one ("Code: 62, e.displayText() =
// DB::Exception: WORDS, e.what() = DB::Exception", or "Code: 62. DB::Exception: WORDS" of later
// versions), on one line; none for anything else.
std::optional<std::string> serverException(std::string_view text);

}  // namespace quelo
