#include "platform/headless/clocked_loop.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "platform/window_timer.h"

namespace quelo {
namespace {

using std::chrono::milliseconds;

// A timer ticks only when due and the loop is pumped; a late one ticks once and restarts from now.
TEST(ClockedLoop, TimerTicksOnlyWhenDueAndPumped) {
  testing::FakeClock clock;
  ClockedLoop loop(clock);
  int ticks = 0;
  loop.startTimer(milliseconds(999), [&] { ++ticks; });
  clock.advance(milliseconds(998));
  loop.processEvents();
  EXPECT_EQ(ticks, 0);
  clock.advance(milliseconds(1));
  EXPECT_EQ(ticks, 0);  // due, but nothing runs until the loop is pumped
  loop.processEvents();
  EXPECT_EQ(ticks, 1);
  clock.advance(milliseconds(5000));
  loop.processEvents();
  EXPECT_EQ(ticks, 2);
  clock.advance(milliseconds(998));
  loop.processEvents();
  EXPECT_EQ(ticks, 2);
  clock.advance(milliseconds(1));
  loop.processEvents();
  EXPECT_EQ(ticks, 3);
}

TEST(ClockedLoop, HandlerMayStopTimersAndPostWork) {
  testing::FakeClock clock;
  ClockedLoop loop(clock);
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

TEST(ClockedLoop, RunForSleepsBetweenTicksOnTheClock) {
  testing::FakeClock clock;
  ClockedLoop loop(clock);
  int ticks = 0;
  loop.startTimer(milliseconds(999), [&] { ++ticks; });
  loop.runFor(std::chrono::seconds(5));
  EXPECT_EQ(ticks, 5);
  EXPECT_GE(clock.sleeps, 5);
}

TEST(WindowTimer, SwitchingOnTwiceKeepsThePhase) {
  testing::FakeClock clock;
  ClockedLoop loop(clock);
  int ticks = 0;
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
