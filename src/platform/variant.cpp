#include "platform/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <limits>
#include <optional>

#include "platform/date_time.h"
#include "platform/dispatch.h"

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

// &H / &O integer literals.
std::optional<double> parseRadix(std::string_view s) {
  if (s.size() < 3 || s[0] != '&') return std::nullopt;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
  const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
  if (base == 0) return std::nullopt;
  double value = 0;
  for (char c : s.substr(2)) {
    int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : std::isxdigit(static_cast<unsigned char>(c)) ? std::toupper(c) - 'A' + 10
                                                               : 99;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

// The whole-text number grammar: blanks around, a sign, digits with optional thousands commas,
// a decimal point, an exponent (E or D).
std::optional<double> parseNumber(std::string_view text) {
  std::string_view s = trimBlanks(text);
  if (auto radix = parseRadix(s)) return radix;
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
  if (!any) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    digits += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits += s[i++];
    bool expDigits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      digits += s[i++];
      expDigits = true;
    }
    if (!expDigits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const double value = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

Result<double> integralFrom(const Variant& v, double lo, double hi) {
  auto d = toDouble(v);
  if (!d) return d.error();
  const double r = roundHalfEven(d.value());
  if (!(r >= lo && r <= hi)) return overflow();
  return r;
}

// The fewest significant digits (at most 15) that give the value rounded to 15 digits, as a
// mantissa ("-1.25") and a decimal exponent. Values whose shortest exact form already has 15
// digits or fewer take the fast path; the others are rounded to 15 digits first.
std::pair<std::string, int> shortestScientific(double d) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
  const std::string_view shortest(buf, ec == std::errc() ? static_cast<size_t>(end - buf) : 0);
  const size_t e = shortest.find('e');
  if (e != std::string_view::npos) {
    size_t digits = 0;
    for (char c : shortest.substr(0, e)) digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
    int exponent = 0;
    const std::string_view exp = shortest.substr(e + (shortest[e + 1] == '+' ? 2 : 1));
    std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
    if (digits <= 15) return {std::string(shortest.substr(0, e)), exponent};
  }
  std::snprintf(buf, sizeof buf, "%.14e", d);
  const double target = std::strtod(buf, nullptr);
  int precision = 1;
  for (; precision < 15; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, d);
    if (std::strtod(buf, nullptr) == target) break;
  }
  std::snprintf(buf, sizeof buf, "%.*e", precision - 1, target);
  return {std::string(buf, std::strchr(buf, 'e')), std::atoi(std::strchr(buf, 'e') + 1)};
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
      return v.asDouble();
    case VarType::Date:
      return v.asDate().serial;
    case VarType::String: {
      auto n = parseNumber(v.asString());
      if (!n) return typeMismatch();
      return *n;
    }
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
  if (v.type() == VarType::Date) return v.asDate();
  if (v.isNull()) return invalidNull();
  if (v.isString()) {
    if (auto d = parseIsoDate(trimBlanks(v.asString()))) return *d;
  }
  auto d = toDouble(v);
  if (!d) return typeMismatch();
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

bool isNumericText(std::string_view text) { return parseNumber(text).has_value(); }

double val(std::string_view text) {
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  size_t i = 0;
  if (s.size() >= 2 && s[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
    if (base != 0) {
      double value = 0;
      for (i = 2; i < s.size(); ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
        if (digit >= base) break;
        value = value * base + digit;
      }
      return value;
    }
  }
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
