// LogMessage as the host calls it: the entry in the control's log, and the message echoed into a
// text box of the host's, whatever members that box refuses.
#include <gtest/gtest.h>

#include "automation/text.h"
#include "control/message_log.h"
#include "control/text_box_echo.h"
#include "fakes/control_harness.h"
#include "fakes/fake_text_box.h"
#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

using Writes = std::vector<std::string>;
using testing::FakeTextBox;

TEST(TextBoxEcho, AVisibleBoxGetsTheMessageOnANewLineAtTheEnd) {
  auto box = FakeTextBox::create();
  box->text = "first line";
  box->selLength = 5;  // the caret at the start with "first" selected
  box->locked = true;
  box->enabled = false;
  echoToTextBox(*box, "two  spaces\r\nnext");
  EXPECT_EQ(box->text, "first line\r\ntwo  spaces\r\nnext");
  EXPECT_TRUE(box->focused);
  EXPECT_TRUE(box->locked);
  EXPECT_FALSE(box->enabled);
  EXPECT_EQ(box->writes,
            (Writes{"Locked=False", "Enabled=True", "SetFocus", "SelStart=10", "SelText", "Locked=True", "Enabled=False"}));

  auto wide = FakeTextBox::create();
  wide->text = "h\xC3\xA9llo \xE2\x82\xAC";  // "héllo €": the caret index counts 7 characters, not 10 bytes
  echoToTextBox(*wide, "m");
  EXPECT_EQ(wide->writes.at(3), "SelStart=7");
}

TEST(TextBoxEcho, AHiddenBoxGetsItAtItsCaretWithoutFocus) {
  auto box = FakeTextBox::create();
  box->text = "abcdef";
  box->selStart = 2;
  box->selLength = 1;
  box->visible = false;
  echoToTextBox(*box, "msg");
  EXPECT_EQ(box->text, "ab\r\nmsgdef");
  EXPECT_FALSE(box->focused);
  EXPECT_EQ(box->writes, (Writes{"Locked=False", "Enabled=True", "SelText", "Locked=False", "Enabled=True"}));
}

TEST(TextBoxEcho, RefusedMembersAreSkippedOneByOne) {
  auto box = FakeTextBox::create();
  box->text = "abc";
  box->refused = {"Locked", "SetFocus", "Text"};
  echoToTextBox(*box, "m");
  EXPECT_EQ(box->text, "\r\nmabc");  // no caret move without Text
  EXPECT_EQ(box->writes, (Writes{"Enabled=True", "SelText", "Enabled=True"}));

  auto mute = FakeTextBox::create();
  mute->refused = {"Locked", "Enabled", "Visible", "SetFocus", "Text", "SelStart", "SelText"};
  echoToTextBox(*mute, "m");
  EXPECT_TRUE(mute->writes.empty());
}

// Any value is logged by its text under the control's own path; the raw message goes to the box
// it is given, and nothing or no object for the box is fine.
TEST(LogMessageMember, LogsAnyValueAndEchoesItToTheBoxGiven) {
  testing::ScratchDir dir;
  testing::ControlHarness h;
  std::string path = dir.path();
  h.control->setApplicationPath(path);
  h.component->developerCompany = "ACME";
  h.component->applicationPath = "/nonexistent/";  // the shared path is not the log's
  auto box = FakeTextBox::create();
  box->text = "log:";
  for (Args args : {Args{Variant(int32_t{42})}, Args{Variant(2.5)}, Args{Variant::null()},
                    Args{Variant("a  b"), Variant(std::shared_ptr<Dispatch>(box))},
                    Args{Variant("m"), Variant(std::shared_ptr<Dispatch>())}, Args{Variant("n"), Variant::missing()}})
    ASSERT_TRUE(h.control->call("LogMessage", args));
  EXPECT_EQ(box->text, "log:\r\na  b");
  std::string expected(kUtf8Bom);
  for (const char* m : {"42", "2.5", "", "a  b", "m", "n"})
    expected += messageLogLine("ACME", dateFromTimePoint(h.clock.wallNow()), m);
  EXPECT_EQ(h.files.readFile(dir / "Reports/Log/ZeMessages.htm").valueOr("<missing>"), expected);
}

}  // namespace
}  // namespace quelo
