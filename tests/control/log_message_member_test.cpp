// LogMessage as the host calls it: through the control, by name.
#include <gtest/gtest.h>

#include "control/message_log.h"
#include "fakes/control_harness.h"
#include "fakes/fake_text_box.h"
#include "fakes/scratch_dir.h"
#include "automation/text.h"

namespace quelo {
namespace {

class LogMessageMember : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string path = dir.path();
    h.control->setApplicationPath(path);
    h.component->developerCompany = "ACME";
  }
  std::string logText() { return h.files.readFile(dir / "Reports/Log/ZeMessages.htm").valueOr("<missing>"); }
  std::string lineFor(std::string_view message) {
    return messageLogLine("ACME", dateFromTimePoint(h.clock.wallNow()), message);
  }

  testing::ScratchDir dir;
  testing::ControlHarness h;
};

// Any value is logged by its text under the control's own path; the raw message goes to the box
// it is given, and nothing or no object for the box is fine.
TEST_F(LogMessageMember, LogsAnyValueAndEchoesItToTheBoxGiven) {
  h.component->applicationPath = "/nonexistent/";  // the shared path is not the log's
  auto box = testing::FakeTextBox::create();
  box->text = "log:";
  for (Args args : {Args{Variant(int32_t{42})}, Args{Variant(2.5)}, Args{Variant::null()},
                    Args{Variant("a  b"), Variant(std::shared_ptr<Dispatch>(box))},
                    Args{Variant("m"), Variant(std::shared_ptr<Dispatch>())}, Args{Variant("n"), Variant::missing()}})
    ASSERT_TRUE(h.control->call("LogMessage", args));
  EXPECT_EQ(box->text, "log:\r\na  b");
  EXPECT_EQ(logText(), std::string(kUtf8Bom) + lineFor("42") + lineFor("2.5") + lineFor("") + lineFor("a  b") +
                           lineFor("m") + lineFor("n"));
}

}  // namespace
}  // namespace quelo
