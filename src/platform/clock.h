// Clock: a monotonic clock for measuring waits and timers, and the wall clock for dates and times
// written into reports and logs. sleepUntil blocks the caller without spinning.
#pragma once

#include <chrono>
#include <optional>

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

// The machine's clocks. When SOURCE_DATE_EPOCH holds a number of seconds, the wall clock reads
// that instant always, so that reports and logs written from the same input are identical.
class SystemClock : public Clock {
 public:
  SystemClock();
  Duration monotonic() override;
  std::chrono::system_clock::time_point wallNow() override;
  void sleepUntil(Duration deadline) override;

 private:
  std::optional<std::chrono::system_clock::time_point> fixedWall_;
};

std::optional<std::chrono::system_clock::time_point> sourceDateEpoch();

}  // namespace quelo
