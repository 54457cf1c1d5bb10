// LogMessage as the host calls it: the entry in the control's log, and the message echoed into a
// text box of the host's, whatever members that box refuses.
#include <gtest/gtest.h>

#include <set>

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

// A visible box gets the message on a new line at the end, with the focus, unlocked and enabled
// meanwhile (the caret index counts characters, not bytes); a hidden one at its caret without
// the focus; refused members are skipped one by one.
TEST(TextBoxEcho, TheMessageGoesInWhateverTheBoxRefuses) {
  struct Case {
    const char* what;
    std::string text;
    int32_t selStart, selLength;
    bool locked, enabled, visible;
    std::set<std::string> refused;
    std::string after;
    Writes writes;
  };
  const Case cases[] = {
      {"visible, locked and disabled", "first line", 0, 5, true, false, true, {}, "first line\r\nm",
       {"Locked=False", "Enabled=True", "SetFocus", "SelStart=10", "SelText", "Locked=True", "Enabled=False"}},
      {"hidden", "abcdef", 2, 1, false, true, false, {}, "ab\r\nmdef",
       {"Locked=False", "Enabled=True", "SelText", "Locked=False", "Enabled=True"}},
      {"no Text: no caret move", "abc", 0, 0, false, true, true, {"Locked", "SetFocus", "Text"}, "\r\nmabc",
       {"Enabled=True", "SelText", "Enabled=True"}},
      {"mute", "", 0, 0, false, true, true, {"Locked", "Enabled", "Visible", "SetFocus", "Text", "SelStart", "SelText"}, "",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto box = FakeTextBox::create();
    box->text = c.text;
    box->selStart = c.selStart;
    box->selLength = c.selLength;
    box->locked = c.locked;
    box->enabled = c.enabled;
    box->visible = c.visible;
    box->refused = c.refused;
    echoToTextBox(*box, "m");
    EXPECT_EQ(box->text, c.after);
    EXPECT_EQ(box->writes, c.writes);
    EXPECT_EQ(box->focused, c.visible && !c.refused.count("SetFocus"));
    EXPECT_EQ(box->locked, c.locked);
    EXPECT_EQ(box->enabled, c.enabled);
  }  auto wide = FakeTextBox::create();
  wide->text = "h\xC3\xA9llo \xE2\x82\xAC";  // "héllo €": the caret index counts 7 characters, not 10 bytes
  echoToTextBox(*wide, "m");
  EXPECT_EQ(wide->writes.at(3), "SelStart=7");
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
