// Clock: a monotonic clock for measuring waits and timers, and the wall clock for dates and times
// written into reports and logs. sleepUntil blocks the caller without spinning.
#pragma once

#include <chrono>

namespace quelo {

class Clock {
 public:
  using Duration = std::chrono::nanoseconds;
  virtual ~Clock() = default;
  // Time since an arbitrary fixed start; never goes back.
  virtual Duration monotonic() = 0;
  virtual std::chrono::system_clock::time_point wallNow() = 0;
  // Blocks until monotonic() >= deadline.
  virtual void sleepUntil(Duration deadline) = 0;
};

}  // namespace quelo
