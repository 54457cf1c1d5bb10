#include "platform/posix/system_clock.h"

#include <time.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace quelo {

std::optional<std::chrono::system_clock::time_point> sourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long seconds = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
}

SystemClock::SystemClock() : fixedWall_(sourceDateEpoch()) {}

Clock::Duration SystemClock::monotonic() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

std::chrono::system_clock::time_point SystemClock::wallNow() {
  return fixedWall_ ? *fixedWall_ : std::chrono::system_clock::now();
}

void SystemClock::sleepUntil(Duration deadline) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(deadline).count());
  ts.tv_nsec = static_cast<long>((deadline - std::chrono::seconds(ts.tv_sec)).count());
  // Absolute sleeps resume correctly after a signal interrupts them.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

}  // namespace quelo
