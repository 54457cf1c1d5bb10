// ClockedLoop: a MessageLoop whose timers follow a Clock. With the system clock it is the loop of
// the command line and the tests of real waits; with a fake clock, tests advance time and pump,
// and no test sleeps.
#pragma once

#include <deque>
#include <map>

#include "platform/clock.h"
#include "platform/message_loop.h"

namespace quelo {

class ClockedLoop : public MessageLoop {
 public:
  explicit ClockedLoop(Clock& clock) : clock_(clock) {}

  TimerId startTimer(std::chrono::milliseconds interval, Callback onTick) override;
  void stopTimer(TimerId id) override;
  void post(Callback work) override;
  void processEvents() override;

  // Pumps, sleeping between due timers, until the clock reaches monotonic() + duration.
  void runFor(Clock::Duration duration);
  bool hasTimers() const { return !timers_.empty(); }

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::Duration due;
    Callback onTick;
  };
  // A timer that fell behind ticks once and is rescheduled from now, as window timers are.
  void fireDueTimers();

  Clock& clock_;
  std::map<TimerId, Timer> timers_;
  std::deque<Callback> posted_;
  TimerId nextId_ = 1;
};

}  // namespace quelo
