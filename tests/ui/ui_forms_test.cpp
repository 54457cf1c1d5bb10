#include <gtest/gtest.h>

#include "fakes/control_harness.h"
#include "forms/form_presenter.h"
#include "ui/about_box.h"
#include "ui/maker.h"
#include "ui/property_page.h"

namespace quelo {
namespace {

using namespace forms;

struct FakeFrame : PropertyPageSite {
  std::vector<std::shared_ptr<Dispatch>> selected;
  int changes = 0;
  std::vector<std::shared_ptr<Dispatch>> selectedControls() override { return selected; }
  void setChanged(bool) override { ++changes; }
};

struct PropertyPageTest : ::testing::Test {
  PropertyPageTest() {
    frame.selected = {first.control, second.control};
    page.initialize();
  }
  testing::ControlHarness first{false}, second{false};  // design mode
  HeadlessPresenter presenter;
  FakeFrame frame;
  PropertyPage page{presenter, frame};
  ComboBox& list() { return page.get<ComboBox>("cmbMaxRecsPerPage"); }
  TextBox& text(const char* name) { return page.get<TextBox>(name); }
};

TEST_F(PropertyPageTest, SelectionChangedShowsTheFirstControl) {
  ASSERT_TRUE(first.control->put("Interval", Variant(int32_t{12})));
  ASSERT_TRUE(first.control->put("DoTimer", Variant(true)));
  ASSERT_TRUE(first.control->put("Tag", Variant("tagged")));
  ASSERT_TRUE(first.control->put("DeveloperCompany", Variant(" acme ")));
  page.selectionChanged();
  EXPECT_EQ(text("txtInterval").text(), "12");
  EXPECT_EQ(page.get<CheckBox>("chkDoTimer").value(), 1);
  EXPECT_EQ(text("txtTag").text(), "tagged");
  EXPECT_EQ(text("txtDeveloperCompany").text(), "ACME");
  for (auto [records, index] : {std::pair{1000, 6}, {5, 0}, {50, 1}}) {  // 50: not listed, ten
    first.control->setMaxRecsPerPage(records);
    page.selectionChanged();
    EXPECT_EQ(list().listIndex(), index) << records;
  }
}

TEST_F(PropertyPageTest, ApplyWritesTheFirstControlOnly) {
  page.selectionChanged();
  text("txtInterval").setText("12abc");
  page.get<CheckBox>("chkDoTimer").setValue(1);
  page.get<CheckBox>("chkEnabled").setValue(0);
  text("txtTag").setText("note");
  list().setListIndex(5);
  text("txtDeveloperCompany").setText("  widgets inc ");
  page.applyChanges();
  auto props = [](ZeQuelo& c) {
    return std::to_string(c.interval()) + "|" + std::to_string(c.doTimer()) + "|" +
           std::to_string(c.enabled().value()) + "|" + c.tag() + "|" +
           std::to_string(c.maxRecsPerPage()) + "|" + c.developerCompany();
  };
  EXPECT_EQ(props(*first.control), "12|1|0|note|500|WIDGETS INC");
  EXPECT_EQ(props(*second.control), "0|0|1||10|");
}

TEST_F(PropertyPageTest, OneRefusedPropertyDoesNotStopTheOthers) {
  first.window.fail = true;  // Enabled cannot be written
  text("txtInterval").setText("-4");
  text("txtTag").setText("still written");
  list().setListIndex(-1);  // no entry: MaxRecsPerPage stays
  page.applyChanges();
  EXPECT_EQ(first.control->interval(), 0);  // a negative interval is refused by the control
  EXPECT_EQ(first.control->tag(), "still written");
  EXPECT_EQ(first.control->maxRecsPerPage(), 10);
}

TEST_F(PropertyPageTest, EditsSetTheChangedFlag) {
  frame.changes = 0;
  text("txtTag").setText("x");
  page.get<CheckBox>("chkEnabled").setValue(1);
  list().setListIndex(3);
  EXPECT_EQ(frame.changes, 3);
  // The list remembers its index when it gets the focus and reports a change when it leaves
  // with another one, whatever it announced on the way.
  frame.changes = 0;
  list().setFocus();
  text("txtTag").setFocus();
  EXPECT_EQ(frame.changes, 0);  // left with the index it had
  list().setFocus();
  list().setListIndex(4);
  frame.changes = 0;
  text("txtTag").setFocus();
  EXPECT_EQ(frame.changes, 1);
}

TEST_F(PropertyPageTest, ANegativeOrHugeIntervalKeepsTheFocus) {
  auto& interval = text("txtInterval");
  interval.setFocus();
  for (const char* bad : {"-5", "-0.6", "1e20"}) {
    interval.setText(bad);
    text("txtTag").setFocus();
    EXPECT_TRUE(interval.hasFocus()) << bad;
  }
  interval.setText("-0.4");  // rounds to 0
  text("txtTag").setFocus();
  EXPECT_TRUE(text("txtTag").hasFocus());
  EXPECT_EQ(text("txtTag").selLength(), 0);
  text("txtTag").setText("abc");
  interval.setFocus();
  text("txtTag").setFocus();  // getting the focus selects the whole text
  EXPECT_EQ(text("txtTag").selLength(), 3);
}

TEST(AboutBox, TheControlShowsItModallyAndTheLinksOpen) {
  testing::ControlHarness h;
  h.presenter.onModal("QueloAbout", [&](Form& f) {
    f.get<Label>("lblZe", 1).click();
    f.get<Label>("lblZe", 0).click();
    f.get<CommandButton>("OKButton").press();
  });
  ASSERT_TRUE(h.control->call("AboutBox").isOk());
  ASSERT_GE(h.shell.launches.size(), 2u);
  EXPECT_EQ(h.shell.launches[0].kind, "mail");  // the e-mail address goes to the mail program
  EXPECT_EQ(h.shell.launches[0].target, std::string("mailto:") + maker::kEmail);
  EXPECT_EQ(h.shell.launches.back().target, maker::kWebsite);
  EXPECT_FALSE(h.component->aboutBox->loaded());  // unloaded once closed
}

}  // namespace
}  // namespace quelo
