#include "platform/headless/recording_message_box.h"

namespace quelo {

int RecordingMessageBox::show(std::string_view prompt, int style, std::string_view title) {
  shown.push_back({std::string(prompt), style, std::string(title)});
  return answer;
}

void RecordingCursor::setBusy(bool busy) {
  busy_ = busy;
  ++changes;
}

}  // namespace quelo
