#include "control/text_box_echo.h"

#include <gtest/gtest.h>

#include "fakes/fake_text_box.h"

namespace quelo {
namespace {

using Writes = std::vector<std::string>;

TEST(TextBoxEcho, AVisibleBoxGetsTheMessageOnANewLineAtTheEnd) {
  auto box = testing::FakeTextBox::create();
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
}

TEST(TextBoxEcho, AHiddenBoxGetsItAtItsCaretWithoutFocus) {
  auto box = testing::FakeTextBox::create();
  box->text = "abcdef";
  box->selStart = 2;
  box->selLength = 1;
  box->visible = false;
  echoToTextBox(*box, "msg");
  EXPECT_EQ(box->text, "ab\r\nmsgdef");
  EXPECT_FALSE(box->focused);
  EXPECT_EQ(box->writes, (Writes{"Locked=False", "Enabled=True", "SelText", "Locked=False", "Enabled=True"}));
}

TEST(TextBoxEcho, TheCaretIndexCountsCharactersNotBytes) {
  auto box = testing::FakeTextBox::create();
  box->text = "h\xC3\xA9llo \xE2\x82\xAC";  // "héllo €": 7 characters in 10 bytes
  echoToTextBox(*box, "m");
  EXPECT_EQ(box->writes.at(3), "SelStart=7");
}

TEST(TextBoxEcho, RefusedMembersAreSkippedOneByOne) {
  auto box = testing::FakeTextBox::create();
  box->text = "abc";
  box->refused = {"Locked", "SetFocus", "Text"};
  echoToTextBox(*box, "m");
  EXPECT_EQ(box->text, "\r\nmabc");  // no caret move without Text
  EXPECT_EQ(box->writes, (Writes{"Enabled=True", "SelText", "Enabled=True"}));

  auto mute = testing::FakeTextBox::create();
  mute->refused = {"Locked", "Enabled", "Visible", "SetFocus", "Text", "SelStart", "SelText"};
  echoToTextBox(*mute, "m");
  EXPECT_TRUE(mute->writes.empty());
}

}  // namespace
}  // namespace quelo
