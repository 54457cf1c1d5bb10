#include "data/sources/typed_text.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "automation/date_time.h"
#include "data/recordset/ado.h"
#include "automation/text.h"

namespace quelo {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from `at` on; returns the position after them.
size_t skipDigits(std::string_view s, size_t at) {
  while (at < s.size() && isDigit(s[at])) ++at;
  return at;
}

// The length of the whole-number prefix (sign, digits without leading zeros), 0 when none.
size_t wholePrefix(std::string_view s) {
  size_t at = !s.empty() && s[0] == '-' ? 1 : 0;
  const size_t digits = skipDigits(s, at);
  if (digits == at) return 0;
  if (s[at] == '0' && digits - at > 1) return 0;
  return digits;
}

// Digits of a decimal's mantissa that a double would have to hold: without the leading zeros,
// and without the trailing zeros of the fraction.
int significantDigits(std::string_view decimal) {
  const std::string_view mantissa = decimal.substr(0, decimal.find_first_of("eE"));
  const size_t point = mantissa.find('.');
  std::string_view whole = mantissa.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  if (!whole.empty() && whole[0] == '-') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  std::string digits = std::string(whole) + std::string(fraction);
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? 0 : static_cast<int>(digits.size() - first);
}

std::optional<double> parseFloatWord(std::string_view text) {
  if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (text == "Infinity") return std::numeric_limits<double>::infinity();
  if (text == "-Infinity") return -std::numeric_limits<double>::infinity();
  return std::nullopt;
}

}  // namespace

std::optional<int64_t> parseWholeNumber(std::string_view text) {
  if (wholePrefix(text) != text.size() || text.empty()) return std::nullopt;
  int64_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::optional<double> parseDecimal(std::string_view text) {
  size_t at = wholePrefix(text);
  if (at == 0) return std::nullopt;
  if (at < text.size() && text[at] == '.') {
    const size_t fraction = skipDigits(text, at + 1);
    if (fraction == at + 1) return std::nullopt;
    at = fraction;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const size_t end = skipDigits(text, exponent);
    if (end == exponent) return std::nullopt;
    at = end;
  }
  if (at != text.size()) return std::nullopt;
  double d = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return d;
}

// parseIsoDate reads a date the same way, and a time alone too: a date is what starts as one.
std::optional<Date> parseIsoDateTime(std::string_view text) {
  if (text.size() < 10 || text[4] != '-') return std::nullopt;
  return parseIsoDate(text);
}

std::optional<bool> parseTrueFalse(std::string_view text) {
  if (equalsIgnoreCase(text, "true")) return true;
  if (equalsIgnoreCase(text, "false")) return false;
  return std::nullopt;
}

namespace {

CellView numberCell(CellKind kind, int64_t n) {
  CellView c;
  c.kind = kind;
  c.integer = n;
  return c;
}

CellView realCell(CellKind kind, double d) {
  CellView c;
  c.kind = kind;
  c.real = d;
  return c;
}

}  // namespace

CellView typedCell(int32_t type, std::string_view text) {
  using namespace ado;
  switch (type) {
    case adSmallInt:
    case adInteger:
    case adBigInt:
      if (auto n = parseWholeNumber(text)) {
        if (type == adSmallInt && *n >= INT16_MIN && *n <= INT16_MAX) return numberCell(CellKind::Integer, *n);
        const bool narrow = type != adBigInt && *n >= INT32_MIN && *n <= INT32_MAX;
        return numberCell(narrow ? CellKind::Long : CellKind::LongLong, *n);
      }
      break;
    case adSingle:
    case adDouble:
      if (auto d = parseDecimal(text)) return realCell(CellKind::Double, *d);
      if (auto d = parseFloatWord(text)) return realCell(CellKind::Double, *d);
      break;
    case adNumeric:
      // Beyond 15 digits a double would round the number: it stays exact as text.
      if (significantDigits(text) > 15) break;
      if (auto d = parseDecimal(text)) return realCell(CellKind::Double, *d);
      break;
    case adDBDate:
    case adDBTimeStamp:
      if (auto d = parseIsoDateTime(text)) return realCell(CellKind::Date, d->serial);
      break;
    case adDBTime:
      if (auto d = parseIsoDate(text)) return realCell(CellKind::Date, d->serial);
      break;
    case adBoolean:
      if (auto b = parseTrueFalse(text)) return numberCell(CellKind::Boolean, *b ? 1 : 0);
      break;
    default:
      break;
  }
  CellView c;
  c.kind = CellKind::Text;
  c.text = text;
  return c;
}

void putTyped(RowTable& table, int64_t row, int column, int32_t type, std::string_view text) {
  table.setCell(row, column, typedCell(type, text));
}

}  // namespace quelo
