// Message boxes and the busy pointer: the only places where the control speaks to the end user
// outside its forms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelo {

// Buttons and icon, with the classic values (vbOKOnly 0, vbInformation 64 ...).
namespace mb {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
// Answers.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace mb

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // An empty title means the default one (the application's name). Returns the button pressed.
  virtual int show(std::string_view prompt, int style, std::string_view title) = 0;
};

class CursorService {
 public:
  virtual ~CursorService() = default;
  virtual void setBusy(bool busy) = 0;
  virtual bool busy() const = 0;
};

}  // namespace quelo
