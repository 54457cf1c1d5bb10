// MessageLoop: the thread's queue of timers and posted work. processEvents runs what is due and
// returns (the classic DoEvents); nothing runs unless the loop is pumped, so a method that does not
// pump sees no timer tick while it runs.
#pragma once

#include <chrono>
#include <functional>

namespace quelo {

class MessageLoop {
 public:
  using TimerId = int;
  using Callback = std::function<void()>;
  virtual ~MessageLoop() = default;

  // A repeating timer; its first tick is one interval from now.
  virtual TimerId startTimer(std::chrono::milliseconds interval, Callback onTick) = 0;
  virtual void stopTimer(TimerId id) = 0;
  virtual void post(Callback work) = 0;
  // Runs the posted work and the due timers, then returns.
  virtual void processEvents() = 0;
};

}  // namespace quelo
