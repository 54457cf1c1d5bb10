#include "automation/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <limits>
#include <optional>

#include "automation/date_time.h"
#include "automation/dispatch.h"

namespace quelo {
namespace {

Error typeMismatch() { return makeError(err::kTypeMismatch, "Type mismatch"); }
Error invalidNull() { return makeError(err::kInvalidUseOfNull, "Invalid use of Null"); }
Error overflow() { return makeError(err::kOverflow, "Overflow"); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
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

// The largest number of 15 significant digits that is a finite double.
constexpr double kLargest15Digits = 1.79769313486231e308;

// The shortest exact form of d as a mantissa ("-1.25") and a decimal exponent, and its count of
// significant digits.
struct Scientific {
  std::string mantissa;
  int exponent = 0;
  size_t digits = 0;
};
Scientific exactShortest(double d) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific).ptr;
  const std::string_view text(buf, static_cast<size_t>(end - buf));
  const size_t e = text.find('e');
  Scientific s{std::string(text.substr(0, e)), 0, 0};
  for (char c : s.mantissa) s.digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
  const std::string_view exp = text.substr(e + (text[e + 1] == '+' ? 2 : 1));
  std::from_chars(exp.data(), exp.data() + exp.size(), s.exponent);
  return s;
}

// The fewest significant digits (at most 15) that give the value rounded to 15 digits: the
// shortest exact form of that rounded value, which reads back as itself. REQUIRES: d finite.
std::pair<std::string, int> shortestScientific(double d) {
  Scientific s = exactShortest(d);
  if (s.digits > 15) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", d);
    // Near the largest double, rounding to 15 digits passes it; the largest 15-digit value below
    // stands in, so that every finite number has a text that reads back as a finite number.
    const double rounded = std::strtod(buf, nullptr);
    s = exactShortest(std::isfinite(rounded) ? rounded : std::copysign(kLargest15Digits, d));
  }
  return {std::move(s.mantissa), s.exponent};
}

// Most numbers of real data: the shortest exact form written without an exponent is already the
// text formatNumber gives when it has at most 15 significant digits, at most 15 digits before
// the point, and (below 1) at most 15 after it. None when the number needs the general rules.
std::optional<std::string> plainShortest(double d) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  if (ec != std::errc()) return std::nullopt;
  const std::string_view text(buf, static_cast<size_t>(end - buf));
  if (text.find('e') != std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(text[0] == '-' ? 1 : 0);
  const size_t point = std::min(digits.find('.'), digits.size());
  const size_t fraction = digits.size() - std::min(point + 1, digits.size());
  const bool belowOne = digits.starts_with("0");
  if (belowOne ? fraction > 15 : point + fraction > 15) return std::nullopt;
  return std::string(text);
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

std::shared_ptr<Dispatch> Variant::objectOrNull() const { return isObject() ? asObject() : nullptr; }

VariantArray::VariantArray(std::vector<Bound> bounds) : bounds_(std::move(bounds)) {
  size_t total = 1;
  for (const Bound& b : bounds_) total *= static_cast<size_t>(std::max(b.count, 0));
  data_.resize(bounds_.empty() ? 0 : total);
}

std::shared_ptr<VariantArray> VariantArray::vector(std::vector<Variant> items) {
  auto a = std::make_shared<VariantArray>(std::vector<Bound>{{0, static_cast<int32_t>(items.size())}});
  a->data_ = std::move(items);
  return a;
}

Result<Variant*> VariantArray::at(const std::vector<int32_t>& index) {
  if (index.size() != bounds_.size()) return makeError(err::kSubscriptOutOfRange, "Subscript out of range");
  size_t offset = 0, stride = 1;
  for (size_t d = 0; d < bounds_.size(); ++d) {
    const int64_t rel = static_cast<int64_t>(index[d]) - bounds_[d].lower;
    if (rel < 0 || rel >= bounds_[d].count) return makeError(err::kSubscriptOutOfRange, "Subscript out of range");
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
std::string formatNumber(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  if (d == 0) return "0";
  if (auto plain = plainShortest(d)) return *plain;
  auto [mantissa, exponent] = shortestScientific(d);
  const bool negative = mantissa[0] == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digitsOnly;
  for (char c : mantissa)
    if (c != '.') digitsOnly += c;
  const int nd = static_cast<int>(digitsOnly.size());
  std::string out;
  if (exponent >= 15 || (exponent < 0 && nd - 1 - exponent > 15)) {
    out = digitsOnly.substr(0, 1);
    if (nd > 1) out += "." + digitsOnly.substr(1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += e;
  } else if (exponent < 0) {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digitsOnly;
  } else if (nd <= exponent + 1) {
    out = digitsOnly + std::string(static_cast<size_t>(exponent + 1 - nd), '0');
  } else {
    out = digitsOnly.substr(0, static_cast<size_t>(exponent + 1)) + "." + digitsOnly.substr(static_cast<size_t>(exponent + 1));
  }
  return negative ? "-" + out : out;
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
    if (equalsNoCase(s, "True")) return true;
    if (equalsNoCase(s, "False")) return false;
  }
  auto d = toDouble(v);
  if (!d) return d.error();
  return d.value() != 0;
}

Result<int16_t> toInteger(const Variant& v) {
  auto r = integralFrom(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
  if (!r) return r.error();
  return static_cast<int16_t>(r.value());
}

Result<int32_t> toLong(const Variant& v) {
  auto r = integralFrom(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
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
  return parseNumber(text).isOk();
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
  static constexpr std::string_view kNames[] = {"Empty", "Null",   "Boolean", "Integer", "Long",  "LongLong",
                                                "Double", "Date", "String",  "Object",  "Array", "Error"};
  return kNames[static_cast<int>(t)];
}

}  // namespace quelo
