// Errors as values. A failing step returns an Error (an automation error number and a message);
// the caller decides whether to skip it, as the control's procedures do, or to pass it on.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quelo {

// Automation error numbers used across the system.
namespace err {
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidUseOfNull = 94;
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kObjectRequired = 424;
inline constexpr int kReadOnlyProperty = 383;
inline constexpr int kCantReadAtRunTime = 393;
inline constexpr int kMemberNotFound = 438;
inline constexpr int kNotImplemented = 445;
inline constexpr int kWrongArgumentCount = 450;
inline constexpr int kArgumentNotOptional = 449;
inline constexpr int kIoError = 57;
}  // namespace err

struct Error {
  int number = 0;
  std::string message;
};

// Success or an Error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error e) : error_(std::move(e)), ok_(false) {}
  static Status ok() { return {}; }
  bool isOk() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const Error& error() const { return error_; }

 private:
  Error error_;
  bool ok_ = true;
};

// A value or an Error.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}
  Result(Error e) : v_(std::move(e)) {}
  bool isOk() const { return v_.index() == 0; }
  explicit operator bool() const { return isOk(); }
  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T valueOr(T fallback) const { return isOk() ? std::get<0>(v_) : std::move(fallback); }
  const Error& error() const { return std::get<1>(v_); }
  Status status() const { return isOk() ? Status() : Status(error()); }

 private:
  std::variant<T, Error> v_;
};

inline Error makeError(int number, std::string message) { return Error{number, std::move(message)}; }

}  // namespace quelo
