#include "platform/posix/process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

using namespace std::chrono_literals;

ProcessOptions capturing() {
  ProcessOptions o;
  o.captureOutput = true;
  return o;
}

TEST(RunProcess, ReportsOutputAndExitStatusInTheCallersEnvironment) {
  auto r = runProcess({"sh", "-c", "printf 'a b'; exit 3"}, capturing());
  ASSERT_TRUE(r.isOk()) << r.error().message;
  EXPECT_TRUE(r.value().finished);
  EXPECT_EQ(r.value().output, "a b");
  EXPECT_EQ(r.value().exitStatus, 3);
  EXPECT_EQ(runProcess({"sh", "-c", "kill -TERM $$"}, capturing()).value().exitStatus, 128 + 15);
  auto launched = runProcess({"sh", "-c", "exit 4"}, ProcessOptions{});  // without capture too
  ASSERT_TRUE(launched.isOk());
  EXPECT_TRUE(launched.value().finished);
  EXPECT_EQ(launched.value().exitStatus, 4);

  ProcessOptions o = capturing();  // the environment and working folder are the caller's
  testing::ScratchDir dir;
  o.environment = {"PATH=/usr/bin:/bin", "QUELO_PROBE=probe value"};
  o.workingDirectory = dir.path();
  auto in = runProcess({"sh", "-c", "printf '%s|%s' \"$QUELO_PROBE\" \"$(pwd)/\""}, o);
  ASSERT_TRUE(in.isOk()) << in.error().message;
  EXPECT_EQ(in.value().output, "probe value|" + dir.path());
}

TEST(RunProcess, ArgumentsAreNeverInterpreted) {
  testing::ScratchDir dir;
  const std::string hostile = "$(touch " + dir / "a" + "); `touch " + dir / "b" + "` | touch " + dir / "c";
  auto r = runProcess({"printf", "%s|", hostile, "a b", "*", "-h"}, capturing());
  ASSERT_TRUE(r.isOk());
  EXPECT_EQ(r.value().output, hostile + "|a b|*|-h|");
  for (const char* name : {"a", "b", "c"}) EXPECT_EQ(access((dir / name).c_str(), F_OK), -1) << name;
}

TEST(RunProcess, AMissingProgramIsAnError) {
  for (const ProcessOptions& o : {ProcessOptions{}, capturing()}) {
    auto r = runProcess({"quelo-no-such-program", "x"}, o);
    ASSERT_FALSE(r.isOk());
    EXPECT_EQ(r.error().number, err::kFileNotFound);
    EXPECT_NE(r.error().message.find("quelo-no-such-program"), std::string::npos);
  }
  EXPECT_FALSE(runProcess({}, ProcessOptions{}).isOk());
  EXPECT_FALSE(runProcess({"printf", std::string("a\0b", 3)}, capturing()).isOk());
}

// A handler that keeps running (a browser started by it) counts as started; a captured run that
// does not end is stopped and reported.
TEST(RunProcess, ProgramsStillRunningAtTheLimit) {
  ProcessOptions launch;
  launch.waitLimit = 100ms;
  auto r = runProcess({"sleep", "2"}, launch);
  ASSERT_TRUE(r.isOk());
  EXPECT_FALSE(r.value().finished);

  ProcessOptions capture = capturing();
  capture.waitLimit = 100ms;
  auto c = runProcess({"sleep", "5"}, capture);
  ASSERT_FALSE(c.isOk());
  EXPECT_NE(c.error().message.find("did not finish"), std::string::npos);
}

}  // namespace
}  // namespace quelo
