#include <gtest/gtest.h>
#include <sys/resource.h>

#include "control/default_services.h"
#include "fakes/control_harness.h"

namespace quelo {
namespace {

using testing::ControlHarness;

// One step of a timer scenario: write a property (when named), let whole seconds pass, count
// events.
struct TimerStep {
  const char* property;
  Variant value;
  int ticks;
  int events;
};

// The count starts at creation, restarts when Enabled is written, stops with DoTimer False and
// resumes with True, and fires at once when the interval is lowered below it.
TEST(ControlTimer, ScenariosFireAsTheTableSays) {
  const std::vector<std::pair<const char*, std::vector<TimerStep>>> scenarios = {
      {"every interval",
       {{"Interval", Variant(3), 2, 0}, {nullptr, {}, 1, 1}, {nullptr, {}, 6, 3}}},
      {"enabled restarts",
       {{"Interval", Variant(3), 2, 0}, {"Enabled", Variant(true), 2, 0}, {nullptr, {}, 1, 1}}},
      {"do timer",
       {{"Interval", Variant(3), 2, 0},
        {"DoTimer", Variant(false), 10, 0},
        {"DoTimer", Variant(true), 1, 1}}},
      {"lowered",
       {{"Interval", Variant(10), 5, 0}, {"Interval", Variant(2), 1, 1}, {nullptr, {}, 2, 2}}}};
  for (const auto& [name, steps] : scenarios) {
    SCOPED_TRACE(name);
    ControlHarness h;
    h.control->initProperties();
    for (const TimerStep& step : steps) {
      if (step.property) {
        ASSERT_TRUE(h.control->put(step.property, step.value)) << step.property;
      }
      h.ticks(step.ticks);
      EXPECT_EQ(h.eventCount("ZeTimer"), step.events) << (step.property ? step.property : "ticks");
    }
  }
}

// Interval 0 counts nothing (a count of ten would fire at the first tick after Interval 2); a
// tick is 999 milliseconds; DoTimer False stops the tick source.
TEST(ControlTimer, TheTickSourceIs999MillisecondsAndDoTimerFalseStopsIt) {
  ControlHarness h;
  h.ticks(10);
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{2})));
  h.ticks(1);
  EXPECT_EQ(h.eventCount("ZeTimer"), 0);
  h.clock.advance(std::chrono::milliseconds(998));
  h.loop.processEvents();
  EXPECT_EQ(h.eventCount("ZeTimer"), 0);
  h.clock.advance(std::chrono::milliseconds(1));
  h.loop.processEvents();
  EXPECT_EQ(h.eventCount("ZeTimer"), 1);
  ASSERT_TRUE(h.control->put("DoTimer", Variant(false)));
  EXPECT_FALSE(h.loop.hasTimers());
}

TEST(ControlTimer, LoadedControlTicks) {
  MemoryPropertyBag bag;
  bag.set("Interval", Variant(int32_t{2}));
  ControlHarness h;
  h.control->readProperties(bag);
  EXPECT_FALSE(h.control->doTimer());
  h.ticks(4);
  EXPECT_EQ(h.eventCount("ZeTimer"), 2);
}

TEST(ProgramDelay, ClampsWritesBackAndWaitsOnTheClock) {
  struct Case {
    Variant in;
    int32_t expected;
  };
  for (const Case& c : {Case{Variant(int32_t{0}), 5}, Case{Variant(int32_t{86400}), 86399},
                        Case{Variant(int32_t{3}), 3}, Case{Variant::missing(), 5}}) {
    ControlHarness h;
    ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{1})));
    const auto start = h.clock.monotonic();
    Args args{c.in};
    ASSERT_TRUE(h.control->call("ProgramDelayNSec", args));
    EXPECT_EQ(h.clock.monotonic() - start, std::chrono::seconds(c.expected));
    if (!c.in.isMissing()) {
      EXPECT_EQ(args[0], Variant(c.expected));
    }
    EXPECT_EQ(h.eventCount("ZeTimer"), 0);  // no messages are processed while waiting
  }
}

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

TEST(ProgramDelay, RealDelaySleepsInsteadOfSpinning) {
  auto services = makeDefaultServices();
  Clock& clock = *services->platform().clock;
  HeadlessSite site;
  HeadlessWindow window;
  auto control = ZeQuelo::create(std::make_shared<Component>(), services->platform(), site, window);
  const double cpuBefore = cpuSeconds();
  const auto start = clock.monotonic();
  int32_t n = 1;
  control->programDelayNSec(n);
  const auto waited = clock.monotonic() - start;
  EXPECT_GE(waited, std::chrono::seconds(1));
  EXPECT_LT(cpuSeconds() - cpuBefore, 0.05);  // well under 5% of a core
}

}  // namespace
}  // namespace quelo
