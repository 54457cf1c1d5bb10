// The control's two services of time: ZeTimer every Interval ticks of Timer1, and a blocking delay.
#include "control/type_library.h"
#include "control/ze_quelo.h"

namespace quelo {

// The event fires once the count reaches Interval or beyond, so an Interval lowered below the
// current count still fires at the next tick instead of never.
void ZeQuelo::tick() {
  if (interval_ <= 0) return;
  ++tickCount_;
  if (tickCount_ < interval_) return;
  Args none;
  raiseEvent("ZeTimer", dispid::kZeTimer, none);
  tickCount_ = 0;
}

// Sleeps on the monotonic clock: the caller is blocked, no message is processed, no core spins,
// and a wait across midnight lasts exactly as long as any other.
void ZeQuelo::programDelayNSec(int32_t& n) {
  if (n < 1) n = 5;
  if (n > 86399) n = 86399;
  Clock& clock = *platform_.clock;
  clock.sleepUntil(clock.monotonic() + std::chrono::seconds(n));
}

}  // namespace quelo
