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

TEST_F(LogMessageMember, AnyValueIsLoggedByItsTextUnderTheControlsOwnPath) {
  h.component->applicationPath = "/nonexistent/";  // the shared path is not the log's
  ASSERT_TRUE(h.control->call("LogMessage", {Variant(int32_t{42})}));
  ASSERT_TRUE(h.control->call("LogMessage", {Variant(2.5)}));
  ASSERT_TRUE(h.control->call("LogMessage", {Variant::null()}));
  EXPECT_EQ(logText(), std::string(kUtf8Bom) + lineFor("42") + lineFor("2.5") + lineFor(""));
}

TEST_F(LogMessageMember, EchoesTheRawMessageToTheBoxItIsGiven) {
  auto box = testing::FakeTextBox::create();
  box->text = "log:";
  Args args{Variant("a  b"), Variant(std::shared_ptr<Dispatch>(box))};
  ASSERT_TRUE(h.control->call("LogMessage", args));
  EXPECT_EQ(box->text, "log:\r\na  b");
  EXPECT_EQ(logText(), std::string(kUtf8Bom) + lineFor("a  b"));
}

TEST_F(LogMessageMember, NothingOrNoObjectForTheBoxIsFine) {
  Args nothing{Variant("m"), Variant(std::shared_ptr<Dispatch>())};
  EXPECT_TRUE(h.control->call("LogMessage", nothing));
  EXPECT_TRUE(h.control->call("LogMessage", {Variant("n"), Variant::missing()}));
  EXPECT_EQ(logText(), std::string(kUtf8Bom) + lineFor("m") + lineFor("n"));
}

}  // namespace
}  // namespace quelo
