#include "platform/headless/clocked_loop.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "platform/window_timer.h"

namespace quelo {
namespace {

using std::chrono::milliseconds;

struct ClockedLoopTest : ::testing::Test {
  testing::FakeClock clock;
  ClockedLoop loop{clock};
  int ticks = 0;
};

// A timer ticks only when due and the loop is pumped; a late one ticks once and restarts from now.
TEST_F(ClockedLoopTest, TimerTicksOnlyWhenDueAndPumped) {
  loop.startTimer(milliseconds(999), [&] { ++ticks; });
  const struct { int advance; bool pump; int ticks; } steps[] = {
      {998, true, 0}, {1, false, 0}, {0, true, 1}, {5000, true, 2}, {998, true, 2}, {1, true, 3}};
  for (const auto& s : steps) {
    clock.advance(milliseconds(s.advance));
    if (s.pump) loop.processEvents();
    EXPECT_EQ(ticks, s.ticks) << "step " << (&s - steps);
  }
}

TEST_F(ClockedLoopTest, HandlerMayStopTimersAndPostWork) {
  std::vector<std::string> seen;
  MessageLoop::TimerId second = 0;
  const MessageLoop::TimerId first = loop.startTimer(milliseconds(10), [&] {
    seen.push_back("first");
    loop.stopTimer(second);
    loop.post([&] { seen.push_back("posted"); });
  });
  second = loop.startTimer(milliseconds(10), [&] { seen.push_back("second"); });
  clock.advance(milliseconds(10));
  loop.processEvents();
  EXPECT_EQ(seen, (std::vector<std::string>{"first"}));
  loop.stopTimer(first);
  loop.processEvents();
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "posted"}));
  EXPECT_FALSE(loop.hasTimers());
}

TEST_F(ClockedLoopTest, RunForSleepsBetweenTicksOnTheClock) {
  loop.startTimer(milliseconds(999), [&] { ++ticks; });
  loop.runFor(std::chrono::seconds(5));
  EXPECT_EQ(ticks, 5);
  EXPECT_GE(clock.sleeps, 5);
}

TEST_F(ClockedLoopTest, AWindowTimerSwitchedOnTwiceKeepsThePhase) {
  WindowTimer timer(loop, milliseconds(999), [&] { ++ticks; });
  timer.setEnabled(true);
  clock.advance(milliseconds(500));
  timer.setEnabled(true);
  clock.advance(milliseconds(499));
  loop.processEvents();
  EXPECT_EQ(ticks, 1);
  timer.setEnabled(false);
  clock.advance(milliseconds(5000));
  loop.processEvents();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace quelo
