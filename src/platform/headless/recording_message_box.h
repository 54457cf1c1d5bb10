// Headless message boxes and busy pointer: they record what would have been shown and answer
// with a fixed button.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"

namespace quelo {

class RecordingMessageBox : public MessageBoxService {
 public:
  struct Shown {
    std::string prompt;
    int style = 0;
    std::string title;
  };
  int show(std::string_view prompt, int style, std::string_view title) override;
  std::vector<Shown> shown;
  int answer = mb::kOk;
};

class RecordingCursor : public CursorService {
 public:
  void setBusy(bool busy) override;
  bool busy() const override { return busy_; }
  int changes = 0;

 private:
  bool busy_ = false;
};

}  // namespace quelo
