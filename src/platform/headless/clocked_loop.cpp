#include "platform/headless/clocked_loop.h"

#include <algorithm>
#include <vector>

namespace quelo {

MessageLoop::TimerId ClockedLoop::startTimer(std::chrono::milliseconds interval, Callback onTick) {
  const TimerId id = nextId_++;
  timers_[id] = Timer{interval, clock_.monotonic() + interval, std::move(onTick)};
  return id;
}

void ClockedLoop::stopTimer(TimerId id) { timers_.erase(id); }

void ClockedLoop::post(Callback work) { posted_.push_back(std::move(work)); }

void ClockedLoop::processEvents() {
  // Work posted while this runs waits for the next pump, so a handler that posts cannot starve it.
  std::deque<Callback> now;
  now.swap(posted_);
  for (Callback& work : now) work();
  fireDueTimers();
}

void ClockedLoop::fireDueTimers() {
  const Clock::Duration now = clock_.monotonic();
  std::vector<TimerId> due;
  for (const auto& [id, t] : timers_)
    if (t.due <= now) due.push_back(id);
  std::sort(due.begin(), due.end(), [&](TimerId a, TimerId b) { return timers_[a].due < timers_[b].due; });
  for (TimerId id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end()) continue;  // stopped by an earlier handler
    Clock::Duration next = it->second.due + it->second.interval;
    if (next <= now) next = now + it->second.interval;
    it->second.due = next;
    Callback tick = it->second.onTick;  // the handler may stop its own timer
    tick();
  }
}

void ClockedLoop::runFor(Clock::Duration duration) {
  const Clock::Duration end = clock_.monotonic() + duration;
  for (;;) {
    processEvents();
    const Clock::Duration now = clock_.monotonic();
    if (now >= end) return;
    Clock::Duration next = end;
    for (const auto& [id, t] : timers_) next = std::min(next, t.due);
    if (!posted_.empty()) next = now;
    clock_.sleepUntil(std::max(next, now));
  }
}

}  // namespace quelo
