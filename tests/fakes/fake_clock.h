// A clock that moves only when told: sleeping advances it at once, so waits take no real time.
#pragma once

#include "platform/clock.h"

namespace quelo::testing {

class FakeClock : public Clock {
 public:
  Duration monotonic() override { return now_; }
  std::chrono::system_clock::time_point wallNow() override { return wall_ + now_; }
  void sleepUntil(Duration deadline) override {
    ++sleeps;
    if (deadline > now_) now_ = deadline;
  }

  void advance(Duration d) { now_ += d; }
  int sleeps = 0;

 private:
  Duration now_{std::chrono::hours(1)};
  std::chrono::system_clock::time_point wall_{std::chrono::seconds(1236384000)};  // 2009-03-07
};

}  // namespace quelo::testing
