#include "automation/variant.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

#include "automation/date_time.h"
#include "automation/dispatch.h"
#include "automation/text.h"

namespace quelo {
namespace {

Error typeMismatch() {
  return makeError(err::kTypeMismatch, "Type mismatch");
}
Error invalidNull() {
  return makeError(err::kInvalidUseOfNull, "Invalid use of Null");
}
Error overflow() {
  return makeError(err::kOverflow, "Overflow");
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The value of the &H / &O digits at the start of `digits` (all of them when `whole`); none when
// a digit is not of the base (with `whole`) or there is none at all.
std::optional<double> radixDigits(std::string_view digits, int base, bool whole) {
  double value = 0;
  size_t i = 0;
  for (; i < digits.size(); ++i) {
    const auto c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(digits[i])));
    const int digit = std::isdigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (whole && (i != digits.size() || i == 0)) return std::nullopt;
  return value;
}

// The base of an &H or &O prefix at the start of `s`, 0 when there is none.
int radixBase(std::string_view s) {
  if (s.size() < 2 || s[0] != '&') return 0;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
  return kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
}

// The whole-text number grammar: blanks around, a sign, digits with optional thousands commas,
// a decimal point, an exponent (E or D); or &H / &O digits. A number beyond the range of a
// double is an overflow, anything else that is not a number a type mismatch.
Result<double> parseNumber(std::string_view text) {
  std::string_view s = trimBlanks(text);
  if (const int base = radixBase(s); base != 0) {
    auto radix = radixDigits(s.substr(2), base, true);
    if (!radix) return typeMismatch();
    if (!std::isfinite(*radix)) return overflow();
    return *radix;
  }
  std::string digits;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits += s[i++];
  bool any = false;
  while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || (s[i] == ',' && any))) {
    if (s[i] != ',') digits += s[i];
    any = true;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    digits += s[i++];
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits += s[i++];
      any = true;
    }
  }
  if (!any) return typeMismatch();
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    digits += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits += s[i++];
    bool expDigits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits += s[i++];
      expDigits = true;
    }
    if (!expDigits) return typeMismatch();
  }
  if (i != s.size()) return typeMismatch();
  const double value = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(value)) return overflow();
  return value;
}

Result<double> integralFrom(const Variant& v, double lo, double hi) {
  auto d = toDouble(v);
  if (!d) return d.error();
  const double r = roundHalfEven(d.value());
  if (!(r >= lo && r <= hi)) return overflow();
  return r;
}

// The digits of the largest number of 15 significant digits that is a finite double.
constexpr std::string_view kLargest15DigitsText = "179769313486231";

// Below this, doubles hold fewer than 15 significant digits (subnormals) or lie so near them that
// the value rounded to 15 digits may be one; above it, every 15-digit decimal reads back as
// itself, so rounding to 15 digits once gives the shortest text directly.
constexpr double kFullPrecision = 1e-307;

// A number's significant digits (at most 15, no trailing zeros), its decimal exponent and sign.
struct Scientific {
  char digits[24];
  int count = 0;
  int exponent = 0;
  bool negative = false;
  bool exact = false;  // the digits read back as the number itself, not rounded to 15
};

// Splits to_chars scientific text ("-1.2345e-07") into its digits and exponent.
Scientific splitScientific(std::string_view text) {
  Scientific s;
  s.negative = text[0] == '-';
  size_t i = s.negative ? 1 : 0;
  for (; text[i] != 'e'; ++i)
    if (text[i] != '.') s.digits[s.count++] = text[i];
  const size_t exp = i + (text[i + 1] == '+' ? 2 : 1);
  std::from_chars(text.data() + exp, text.data() + text.size(), s.exponent);
  while (s.count > 1 && s.digits[s.count - 1] == '0') --s.count;
  return s;
}

// d's digits rounded to 15 significant digits, written scientific; returns the text's end.
char* roundedTo15(char* buf, size_t size, double d) {
  return std::to_chars(buf, buf + size, d, std::chars_format::scientific, 14).ptr;
}

// The shortest exact form of d, in scientific notation; returns the text's end.
char* exactShortest(char* buf, size_t size, double d) {
  return std::to_chars(buf, buf + size, d, std::chars_format::scientific).ptr;
}

// d as a whole number of at most 15 digits over a power of ten, when one reads back as d: the
// only decimal of at most 15 significant digits that does (see shortestScientific), found with
// a few exact operations where most numbers in data have a few decimals. The fewest decimals
// give the digits without trailing zeros. None for other numbers.
std::optional<Scientific> fewDecimals(double d) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4,  1e5,
                                       1e6, 1e7, 1e8, 1e9, 1e10, 1e11};
  constexpr double kLimit = 1e15;  // whole numbers below it have at most 15 digits, held exactly
  const double x = std::fabs(d);
  if (!(x >= 1e-4 && x < kLimit)) return std::nullopt;
  for (int k = 0; k < static_cast<int>(std::size(kPowers)) && x * kPowers[k] < kLimit; ++k) {
    const double whole = std::nearbyint(x * kPowers[k]);
    if (whole >= kLimit) break;
    if (whole / kPowers[k] != x)
      continue;  // a quotient of exact numbers, rounded once as reading is
    Scientific s;
    s.negative = d < 0;
    s.count = static_cast<int>(
        std::to_chars(s.digits, s.digits + sizeof s.digits, static_cast<int64_t>(whole)).ptr -
        s.digits);
    s.exponent = s.count - 1 - k;
    while (s.count > 1 && s.digits[s.count - 1] == '0') --s.count;
    s.exact = true;
    return s;
  }
  return std::nullopt;
}

// The fewest significant digits (at most 15) that give the value rounded to 15 digits: the
// shortest exact form of that rounded value, which reads back as itself. REQUIRES: d finite.
Scientific shortestScientific(double d) {
  if (auto s = fewDecimals(d)) return *s;
  char buf[64];
  if (std::fabs(d) >= kFullPrecision) {
    // 15-digit decimals lie further apart than a unit of d's last bit: the one nearest d is d's
    // shortest exact form when it reads back as d, and else the rounded text.
    const char* end = roundedTo15(buf, sizeof buf, d);
    double back = 0;
    std::from_chars(buf, end, back);
    Scientific s = splitScientific(std::string_view(buf, end - buf));
    s.exact = back == d;
    // Near the largest double, rounding to 15 digits passes it; the largest 15-digit value below
    // stands in, so that every finite number has a text that reads back as a finite number.
    if (s.exponent == 308 && std::string_view(s.digits, s.count) > kLargest15DigitsText) {
      std::memcpy(s.digits, kLargest15DigitsText.data(), kLargest15DigitsText.size());
      s.count = static_cast<int>(kLargest15DigitsText.size());
    }
    return s;
  }
  // A shortest exact form of at most 15 digits is the number's text; where doubles are sparser
  // than 15 digits, a shorter text than the rounded digits may read back as the same number: the
  // rounded value's own shortest form is the answer.
  Scientific s = splitScientific(std::string_view(buf, exactShortest(buf, sizeof buf, d) - buf));
  s.exact = s.count <= 15;
  if (s.exact) return s;
  double rounded = 0;
  std::from_chars(buf, roundedTo15(buf, sizeof buf, d), rounded);
  return splitScientific(std::string_view(buf, exactShortest(buf, sizeof buf, rounded) - buf));
}

// Appends n copies of c.
char* fill(char* out, size_t n, char c) {
  std::memset(out, c, n);
  return out + n;
}

// Appends the characters of [from, from + n).
char* append(char* out, const char* from, size_t n) {
  std::memcpy(out, from, n);
  return out + n;
}

}  // namespace

bool Variant::isNumber() const {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::LongLong:
    case VarType::Double:
      return true;
    default:
      return false;
  }
}

std::shared_ptr<Dispatch> Variant::objectOrNull() const {
  return isObject() ? asObject() : nullptr;
}

VariantArray::VariantArray(std::vector<Bound> bounds) : bounds_(std::move(bounds)) {
  size_t total = 1;
  for (const Bound& b : bounds_) total *= static_cast<size_t>(std::max(b.count, 0));
  data_.resize(bounds_.empty() ? 0 : total);
}

std::shared_ptr<VariantArray> VariantArray::vector(std::vector<Variant> items) {
  auto a =
      std::make_shared<VariantArray>(std::vector<Bound>{{0, static_cast<int32_t>(items.size())}});
  a->data_ = std::move(items);
  return a;
}

Result<Variant*> VariantArray::at(const std::vector<int32_t>& index) {
  if (index.size() != bounds_.size())
    return makeError(err::kSubscriptOutOfRange, "Subscript out of range");
  size_t offset = 0, stride = 1;
  for (size_t d = 0; d < bounds_.size(); ++d) {
    const int64_t rel = static_cast<int64_t>(index[d]) - bounds_[d].lower;
    if (rel < 0 || rel >= bounds_[d].count)
      return makeError(err::kSubscriptOutOfRange, "Subscript out of range");
    offset += static_cast<size_t>(rel) * stride;
    stride *= static_cast<size_t>(bounds_[d].count);
  }
  return &data_[offset];
}

double roundHalfEven(double d) {
  const double r = std::nearbyint(d);  // the default rounding mode is to nearest, ties to even
  return r;
}

// Every finite number's text reads back (toDouble) as a number with the same text, and as the
// number itself when its shortest exact form has at most 15 digits.
char* formatNumber(double d, bool& exact, char* out) {
  exact = false;
  if (std::isnan(d)) return append(out, "NaN", 3);
  if (std::isinf(d)) return d > 0 ? append(out, "Infinity", 8) : append(out, "-Infinity", 9);
  if (d == 0) {
    exact = !std::signbit(d);
    *out++ = '0';
    return out;
  }
  const Scientific s = shortestScientific(d);
  exact = s.exact;
  const size_t nd = static_cast<size_t>(s.count);
  const int exponent = s.exponent;
  if (s.negative) *out++ = '-';
  if (exponent >= 15 || (exponent < 0 && static_cast<int>(nd) - 1 - exponent > 15)) {
    *out++ = s.digits[0];
    if (nd > 1) {
      *out++ = '.';
      out = append(out, s.digits + 1, nd - 1);
    }
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    if (std::abs(exponent) < 10) *out++ = '0';
    return std::to_chars(out, out + 4, std::abs(exponent)).ptr;
  }
  if (exponent < 0)
    return append(fill(append(out, "0.", 2), static_cast<size_t>(-exponent - 1), '0'), s.digits,
                  nd);
  if (nd <= static_cast<size_t>(exponent) + 1)
    return fill(append(out, s.digits, nd), static_cast<size_t>(exponent) + 1 - nd, '0');
  const size_t whole = static_cast<size_t>(exponent) + 1;
  out = append(out, s.digits, whole);
  *out++ = '.';
  return append(out, s.digits + whole, nd - whole);
}

std::string formatNumber(double d) {
  bool exact = false;
  char text[kNumberTextMax];
  return std::string(text, formatNumber(d, exact, text));
}

Result<std::string> toString(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return std::string();
    case VarType::Null:
      return invalidNull();
    case VarType::Boolean:
      return std::string(v.asBool() ? "True" : "False");
    case VarType::Integer:
      return std::to_string(v.asInteger());
    case VarType::Long:
      return std::to_string(v.asLong());
    case VarType::LongLong:
      return std::to_string(v.asLongLong());
    case VarType::Double:
      return formatNumber(v.asDouble());
    case VarType::Date:
      if (!isDateInRange(v.asDate())) return overflow();
      return formatGeneralDate(v.asDate());
    case VarType::String:
      return v.asString();
    default:
      return typeMismatch();
  }
}

Result<double> toDouble(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return 0.0;
    case VarType::Null:
      return invalidNull();
    case VarType::Boolean:
      return v.asBool() ? -1.0 : 0.0;
    case VarType::Integer:
      return static_cast<double>(v.asInteger());
    case VarType::Long:
      return static_cast<double>(v.asLong());
    case VarType::LongLong:
      return static_cast<double>(v.asLongLong());
    case VarType::Double:
      if (!std::isfinite(v.asDouble())) return overflow();
      return v.asDouble();
    case VarType::Date:
      return v.asDate().serial;
    case VarType::String:
      return parseNumber(v.asString());
    default:
      return typeMismatch();
  }
}

Result<bool> toBool(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.asBool();
  if (v.isString()) {
    const std::string_view s = trimBlanks(v.asString());
    if (equalsIgnoreCase(s, "True")) return true;
    if (equalsIgnoreCase(s, "False")) return false;
  }
  auto d = toDouble(v);
  if (!d) return d.error();
  return d.value() != 0;
}

Result<int16_t> toInteger(const Variant& v) {
  auto r =
      integralFrom(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
  if (!r) return r.error();
  return static_cast<int16_t>(r.value());
}

Result<int32_t> toLong(const Variant& v) {
  auto r =
      integralFrom(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  if (!r) return r.error();
  return static_cast<int32_t>(r.value());
}

Result<int64_t> toLongLong(const Variant& v) {
  if (v.type() == VarType::LongLong) return v.asLongLong();
  // 2^63 is exactly representable; anything at or beyond it overflows.
  auto r = integralFrom(v, -9223372036854775808.0, 9223372036854774784.0);
  if (!r) return r.error();
  return static_cast<int64_t>(r.value());
}

Result<Date> toDate(const Variant& v) {
  if (v.type() == VarType::Date)
    return isDateInRange(v.asDate()) ? Result<Date>(v.asDate()) : overflow();
  if (v.isNull()) return invalidNull();
  if (v.isString()) {
    if (auto d = parseIsoDate(trimBlanks(v.asString()))) return *d;
  }
  auto d = toDouble(v);
  if (!d) return d.error().number == err::kOverflow ? d.error() : typeMismatch();
  if (!isDateInRange(Date{d.value()})) return overflow();
  return Date{d.value()};
}

bool isNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return true;
    case VarType::String:
      return isNumericText(v.asString());
    default:
      return v.isNumber();
  }
}

bool isNumericText(std::string_view text) {
  // Most texts are no number, and every number starts (after blanks) with a sign, a digit, a
  // point or the "&" of &H and &O: the others are answered without parsing.
  const std::string_view s = trimBlanks(text);
  if (s.empty() || std::string_view("+-.&0123456789").find(s.front()) == std::string_view::npos)
    return false;
  return parseNumber(s).isOk();
}

double val(std::string_view text) {
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  if (const int base = radixBase(s); base != 0) {
    const double value = radixDigits(std::string_view(s).substr(2), base, false).value_or(0.0);
    return std::isfinite(value) ? value : 0.0;
  }
  size_t i = 0;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++];
  if (i < s.size() && s[i] == '.') {
    number += s[i++];
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++];
  }
  if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    const size_t firstDigit = j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++];
    if (j > firstDigit) number += exponent;
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

std::string_view typeName(VarType t) {
  static constexpr std::string_view kNames[] = {"Empty",  "Null",     "Boolean", "Integer",
                                                "Long",   "LongLong", "Double",  "Date",
                                                "String", "Object",   "Array",   "Error"};
  return kNames[static_cast<int>(t)];
}

}  // namespace quelo
