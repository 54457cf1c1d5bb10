#include "platform/window_timer.h"

namespace quelo {

WindowTimer::WindowTimer(MessageLoop& loop, std::chrono::milliseconds interval, std::function<void()> onTick)
    : loop_(loop), interval_(interval), onTick_(std::move(onTick)) {}

WindowTimer::~WindowTimer() { setEnabled(false); }

void WindowTimer::setEnabled(bool on) {
  if (on == enabled()) return;
  if (on) {
    id_ = loop_.startTimer(interval_, [this] { onTick_(); });
  } else {
    loop_.stopTimer(id_);
    id_ = 0;
  }
}

}  // namespace quelo
