// WindowTimer: a tick source on the message loop that can be switched on and off, as a form's
// timer control. Switching it on when it is on changes nothing.
#pragma once

#include <chrono>
#include <functional>

#include "platform/message_loop.h"

namespace quelo {

class WindowTimer {
 public:
  WindowTimer(MessageLoop& loop, std::chrono::milliseconds interval, std::function<void()> onTick);
  ~WindowTimer();
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  bool enabled() const { return id_ != 0; }
  void setEnabled(bool on);
  std::chrono::milliseconds interval() const { return interval_; }

 private:
  MessageLoop& loop_;
  std::chrono::milliseconds interval_;
  std::function<void()> onTick_;
  MessageLoop::TimerId id_ = 0;
};

}  // namespace quelo
