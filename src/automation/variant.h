// Variant: the automation value that crosses every boundary of the control (arguments, property
// values, record-set cells). Conversions follow the classic automation rules and report failure
// as an Error (type mismatch, overflow, invalid use of Null), never by throwing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "automation/status.h"

namespace quelo {

class Dispatch;
class VariantArray;

// Automation date: days since 1899-12-30, the time of day as the fraction.
struct Date {
  double serial = 0;
  bool operator==(const Date&) const = default;
};

// An omitted optional argument.
struct Missing {
  bool operator==(const Missing&) const = default;
};

struct Null {
  bool operator==(const Null&) const = default;
};

enum class VarType {
  Empty,
  Null,
  Boolean,
  Integer,
  Long,
  LongLong,
  Double,
  Date,
  String,
  Object,
  Array,
  Missing
};

class Variant {
 public:
  Variant() = default;
  Variant(Null) : v_(Null{}) {}
  Variant(Missing) : v_(Missing{}) {}
  Variant(bool b) : v_(b) {}
  Variant(int16_t i) : v_(i) {}
  Variant(int32_t l) : v_(l) {}
  Variant(int64_t ll) : v_(ll) {}
  Variant(double d) : v_(d) {}
  Variant(Date d) : v_(d) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(const char* s) : v_(std::string(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(std::shared_ptr<Dispatch> o) : v_(std::move(o)) {}
  Variant(std::shared_ptr<VariantArray> a) : v_(std::move(a)) {}

  static Variant null() { return Variant(Null{}); }
  static Variant missing() { return Variant(Missing{}); }

  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool isEmpty() const { return type() == VarType::Empty; }
  bool isNull() const { return type() == VarType::Null; }
  bool isMissing() const { return type() == VarType::Missing; }
  bool isString() const { return type() == VarType::String; }
  bool isObject() const { return type() == VarType::Object; }
  bool isArray() const { return type() == VarType::Array; }
  // Boolean, Integer, Long, LongLong or Double.
  bool isNumber() const;

  // Direct access; REQUIRES: the matching type().
  bool asBool() const { return std::get<bool>(v_); }
  int16_t asInteger() const { return std::get<int16_t>(v_); }
  int32_t asLong() const { return std::get<int32_t>(v_); }
  int64_t asLongLong() const { return std::get<int64_t>(v_); }
  double asDouble() const { return std::get<double>(v_); }
  Date asDate() const { return std::get<Date>(v_); }
  const std::string& asString() const { return std::get<std::string>(v_); }
  // Null for a Variant that holds no object (Nothing).
  const std::shared_ptr<Dispatch>& asObject() const {
    return std::get<std::shared_ptr<Dispatch>>(v_);
  }
  const std::shared_ptr<VariantArray>& asArray() const {
    return std::get<std::shared_ptr<VariantArray>>(v_);
  }

  // The object this Variant holds, or nullptr for anything else (Nothing, Empty, Missing ...).
  std::shared_ptr<Dispatch> objectOrNull() const;

  bool operator==(const Variant& other) const = default;

 private:
  std::variant<std::monostate, Null, bool, int16_t, int32_t, int64_t, double, Date, std::string,
               std::shared_ptr<Dispatch>, std::shared_ptr<VariantArray>, Missing>
      v_;
};

// A rectangular array of Variants with a lower bound per dimension. Elements are stored with the
// first index varying fastest, so GetRows' (field, row) arrays keep a record's values together.
class VariantArray {
 public:
  struct Bound {
    int32_t lower = 0;
    int32_t count = 0;
  };
  explicit VariantArray(std::vector<Bound> bounds);
  static std::shared_ptr<VariantArray> vector(std::vector<Variant> items);

  int dimensions() const { return static_cast<int>(bounds_.size()); }
  // REQUIRES: 1 <= dim <= dimensions().
  int32_t lbound(int dim) const { return bounds_[dim - 1].lower; }
  int32_t ubound(int dim) const { return bounds_[dim - 1].lower + bounds_[dim - 1].count - 1; }
  Result<Variant*> at(const std::vector<int32_t>& index);
  std::vector<Variant>& elements() { return data_; }
  const std::vector<Variant>& elements() const { return data_; }

 private:
  std::vector<Bound> bounds_;
  std::vector<Variant> data_;
};

// Conversions with the automation rules: strings by isNumeric's grammar, integers rounded half to
// even; a value beyond the target's range is the overflow error (no result is ever inf or NaN).
Result<std::string> toString(const Variant& v);
Result<bool> toBool(const Variant& v);
Result<int16_t> toInteger(const Variant& v);
Result<int32_t> toLong(const Variant& v);
Result<int64_t> toLongLong(const Variant& v);
Result<double> toDouble(const Variant& v);
Result<Date> toDate(const Variant& v);

// Whether v would convert to a number (Empty and Booleans do; Null and dates do not).
bool isNumeric(const Variant& v);
// Whether a text would convert to a number: isNumeric of a String holding it.
bool isNumericText(std::string_view text);
// The leading number of a text: blanks, tabs and line feeds are skipped everywhere, &H and &O
// prefixes read hexadecimal and octal, parsing stops at the first character that cannot continue
// a number; no number at all, or one beyond the range of a double, gives 0.
double val(std::string_view text);
// Round half to even, the rule of every integer conversion.
double roundHalfEven(double d);
// The text form of a number, shortest with at most 15 significant digits ("0.1", "1E+20").
std::string formatNumber(double d);
// The most characters formatNumber gives.
inline constexpr size_t kNumberTextMax = 24;
// The same written at `out` (room for kNumberTextMax characters), its end returned, and in `exact`
// whether the text reads back as the number itself (not when rounded to 15 digits, nor for NaN,
// the infinities and a negative zero).
char* formatNumber(double d, bool& exact, char* out);
// The automation type name of a value ("Long", "String" ...).
std::string_view typeName(VarType t);

}  // namespace quelo
