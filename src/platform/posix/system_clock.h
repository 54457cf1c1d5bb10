// The machine's clocks.
#pragma once

#include <chrono>
#include <optional>

#include "platform/clock.h"

namespace quelo {

// When SOURCE_DATE_EPOCH holds a number of seconds, the wall clock reads that instant always, so
// that reports and logs written from the same input are identical.
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
