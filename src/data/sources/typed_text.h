// Reading the text form of a value (a CSV field, a PostgreSQL result in text format, an SQLite
// date) as the value its column's type says. The grammars are strict, so a value that does not
// fit is kept as the text it is rather than changed: nothing is lost.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "data/recordset/row_table.h"
#include "automation/variant.h"

namespace quelo {

// An optional minus sign and digits, without leading zeros ("0", "-17"; not "007" or "+1").
std::optional<int64_t> parseWholeNumber(std::string_view text);
// A decimal number: a whole number, then an optional fraction and exponent ("-1.5", "2e10").
std::optional<double> parseDecimal(std::string_view text);
// An ISO 8601 calendar date with an optional time ("2024-02-29", "2024-02-29 13:05:00",
// "2024-02-29T13:05"); the day must exist.
std::optional<Date> parseIsoDateTime(std::string_view text);
// "true" or "false" in any letter case.
std::optional<bool> parseTrueFalse(std::string_view text);

// `text` as a value of the ADO type: whole numbers, decimals (and NaN, Infinity for
// floating-point types), dates and Booleans by the grammars above; anything else, any text that
// does not fit, and a numeric of more than 15 digits (which a double would round) as text, a
// cell viewing `text`.
CellView typedCell(int32_t type, std::string_view text);
// Puts typedCell of `text` into a cell.
void putTyped(RowTable& table, int64_t row, int column, int32_t type, std::string_view text);

}  // namespace quelo
