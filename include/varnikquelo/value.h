// Value: what a host passes to the control and gets back from it (arguments, property values,
// results, event arguments) and what a host's own records hold. A value is empty, Null (no value
// in a record), a Boolean, a 32- or 64-bit integer, a double, a UTF-8 text, a date, or a record
// set (see records.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include <varnikquelo/export.h>

namespace varnikquelo {

class Records;

// A date and time of day as the control counts them: days since 1899-12-30 (local wall-clock
// time, no time zone), the time of day as the fraction.
struct Date {
  double serial = 0;
  bool operator==(const Date& other) const { return serial == other.serial; }
};

struct Null {
  bool operator==(const Null&) const { return true; }
};

class QUELO_API Value {
 public:
  enum class Kind { Empty, Null, Boolean, Int32, Int64, Double, Date, Text, Records };

  Value() = default;
  Value(Null) : v_(Null{}) {}
  Value(bool b) : v_(b) {}
  // Any integer type: a signed one of at most 32 bits (and an unsigned one of at most 16) is
  // Int32, a wider one Int64; an unsigned 64-bit number beyond the Int64 range is the nearest
  // Double.
  template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
  Value(T i) : v_(fromInteger(i)) {}
  Value(double d) : v_(d) {}
  Value(Date d) : v_(d) {}
  Value(std::string text) : v_(std::move(text)) {}
  Value(std::string_view text) : v_(std::string(text)) {}
  // A null pointer is Null (no text, never a crash): a member that wants text refuses it with
  // error 94, "Invalid use of Null", naming the argument.
  Value(const char* text) : v_(text ? Alternatives(std::string(text)) : Alternatives(Null{})) {}
  Value(Records records);
  // The local wall-clock time of a point in time.
  static Value date(std::chrono::system_clock::time_point t);

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isEmpty() const { return kind() == Kind::Empty; }
  bool isNull() const { return kind() == Kind::Null; }

  // REQUIRES: the matching kind(); another kind throws std::bad_variant_access.
  bool asBool() const { return std::get<bool>(v_); }
  int32_t asInt32() const { return std::get<int32_t>(v_); }
  int64_t asInt64() const { return std::get<int64_t>(v_); }
  double asDouble() const { return std::get<double>(v_); }
  Date asDate() const { return std::get<Date>(v_); }
  const std::string& asText() const { return std::get<std::string>(v_); }
  const Records& asRecords() const { return *std::get<std::shared_ptr<const Records>>(v_); }
  // The point in time of a date taken as local wall-clock time. REQUIRES: kind() == Kind::Date.
  std::chrono::system_clock::time_point asTimePoint() const;

  // The value as the control writes it in text: "True", "12", "0.5", "2009-03-07 14:05:09"; empty
  // for Empty and Null, "[Records]" for a record set.
  std::string text() const;

  // Same kind and same content; record sets are equal when they are the same handle or the same
  // record set of the control.
  bool operator==(const Value& other) const;
  bool operator!=(const Value& other) const { return !(*this == other); }

 private:
  using Alternatives =
      std::variant<std::monostate, Null, bool, int32_t, int64_t, double, Date, std::string, std::shared_ptr<const Records>>;

  template <class T>
  static Alternatives fromInteger(T i) {
    if constexpr (std::is_signed_v<T> ? sizeof(T) <= 4 : sizeof(T) <= 2) {
      return static_cast<int32_t>(i);
    } else if constexpr (std::is_signed_v<T> || sizeof(T) <= 4) {
      return static_cast<int64_t>(i);
    } else {
      if (i <= static_cast<T>(INT64_MAX)) return static_cast<int64_t>(i);
      return static_cast<double>(i);
    }
  }

  Alternatives v_;
};

}  // namespace varnikquelo
