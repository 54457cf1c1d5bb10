// The control's properties: what a write checks and announces, what is saved, what a load
// takes back without the checks, and what the controls of one component share.
#include <gtest/gtest.h>

#include "automation/property_bag.h"
#include "component/component.h"
#include "data/recordset/recordset.h"
#include "fakes/control_harness.h"
#include "forms/form_presenter.h"
#include "platform/posix/library_folder.h"
#include "report/report_settings.h"
#include "report_forms/report_form.h"

namespace quelo {
namespace {

using testing::ControlHarness;

class ControlProperties : public ::testing::Test {
 protected:
  void SetUp() override { component->applicationPath = "/opt/host/"; }
  std::shared_ptr<Component> component =
      std::make_shared<Component>();  // the thread's, shared by its controls
};

// In run mode a write is trimmed, completed and shared, and one that names no absolute folder is
// refused; in design mode a write only tells how to set it. (Its reads: QueloCommandLine.)
TEST_F(ControlProperties, ApplicationPathIsTrimmedCompletedAndSharedInRunModeOnly) {
  ControlHarness h{component};
  Args args{Variant("  D:\\Data  ")};
  ASSERT_TRUE(h.control->invoke("ApplicationPath", InvokeKind::PropertyPut, args));
  EXPECT_EQ(args[0], Variant("D:\\Data\\"));
  EXPECT_EQ(h.savedApplicationPath(), "D:\\Data\\");
  EXPECT_EQ(component->applicationPath, "D:\\Data\\");
  std::string posix = " /srv/app ";
  h.control->setApplicationPath(posix);
  EXPECT_EQ(posix, "/srv/app/");
  EXPECT_EQ(component->applicationPath, "/srv/app/");
  EXPECT_EQ(h.site.announced, (std::vector<std::string>{"ApplicationPath", "ApplicationPath"}));
  for (std::string path : {"Data\\Reports", "\\\\server\\share", "", "   ", "relative/dir"}) {
    h.control->setApplicationPath(path);
    EXPECT_EQ(h.savedApplicationPath(), "/srv/app/") << path;
  }
  EXPECT_EQ(component->applicationPath, "/srv/app/");
  EXPECT_EQ(h.site.announced.size(), 2u);
  ControlHarness design(component, false);
  design.control->initProperties();
  ASSERT_TRUE(design.control->put("ApplicationPath", Variant("E:\\Other")));
  EXPECT_EQ(design.savedApplicationPath(), "/srv/app/");
  EXPECT_EQ(component->applicationPath, "/srv/app/");
  EXPECT_EQ(design.messageBox.shown.size(), 1u);
}

TEST_F(ControlProperties, DeveloperCompanyOnlyInDesignModeTrimmedAndUpperCase) {
  ControlHarness design(component, false);
  for (const auto& [typed, kept] :
       {std::pair{" acme ", "ACME"}, {"   ", "ACME"}, {"société ñ", "SOCIÉTÉ Ñ"}}) {
    ASSERT_TRUE(design.control->put("DeveloperCompany", Variant(typed)));
    EXPECT_EQ(design.control->developerCompany(), kept) << typed;
  }
  EXPECT_EQ(component->developerCompany, "");  // follows only at the next load
  ControlHarness run{component};
  ASSERT_TRUE(run.control->put("DeveloperCompany", Variant("acme")));
  EXPECT_EQ(run.control->developerCompany(), "");
  EXPECT_TRUE(run.site.announced.empty());
}

// A negative Interval is refused, 0 taken; a window that fails fails a colour write and the
// Enabled read, announcing nothing; MaxRecsPerPage falls back to 10 when its announcement fails.
TEST_F(ControlProperties, RefusedAndFailedWritesKeepTheValueAndAnnounceNothing) {
  ControlHarness h{component};
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{4})));
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{-1})));
  EXPECT_EQ(h.control->interval(), 4);
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{0})));
  EXPECT_EQ(h.control->interval(), 0);
  ASSERT_TRUE(h.control->put("MaxRecsPerPage", Variant(int32_t{7})));
  EXPECT_EQ(h.control->maxRecsPerPage(), 7);
  ASSERT_TRUE(h.control->put("BackColor", Variant(int32_t{255})));
  EXPECT_EQ(h.control->backColor().value(), 255u);
  h.window.fail = true;
  EXPECT_FALSE(h.control->put("BackColor", Variant(int32_t{1})));
  EXPECT_FALSE(h.control->get("Enabled"));
  EXPECT_EQ(h.site.announced,
            (std::vector<std::string>{"Interval", "Interval", "MaxRecsPerPage", "BackColor"}));
  h.site.failAnnouncements = true;
  int32_t n = 50;
  h.control->setMaxRecsPerPage(n);
  EXPECT_EQ(h.control->maxRecsPerPage(), 10);
}

TEST_F(ControlProperties, SizeFocusAndClick) {
  ControlHarness h{component};
  ASSERT_TRUE(h.window.setSize({2000, 100}));
  h.control->resized();
  EXPECT_EQ(h.window.size(), (SizeTwips{345, 345}));
  EXPECT_EQ(h.control->label1().bounds(),
            (forms::FormControl::Rect{0, 0, 344, 344}));  // the face fills the control
  h.control->gotFocus();
  EXPECT_EQ(h.control->label1().caption(), " Ze");
  EXPECT_EQ(h.control->label1().appearance(), 1);
  h.control->lostFocus();
  EXPECT_EQ(h.control->label1().caption(), "");
  EXPECT_EQ(h.control->label1().appearance(), 0);
  h.control->labelClicked();
  ASSERT_TRUE(h.control->setEnabled(false));
  h.control->labelClicked();  // a disabled control receives no clicks
  EXPECT_EQ(h.eventCount("Click"), 1);
}

TEST_F(ControlProperties, TerminateReleasesTheSharedState) {
  ControlHarness h{component};
  forms::HeadlessPresenter presenter;
  struct Dummy : forms::Form {
    using Form::Form;
    void build() override {}
  };
  component->aboutBox = std::make_unique<Dummy>("QueloAbout", presenter);
  component->reportRecordset = Recordset::create();
  h.control->terminate();
  EXPECT_EQ(component->aboutBox, nullptr);
  EXPECT_EQ(component->reportRecordset, nullptr);
}

// A new control saves Enabled alone; a changed one saves every property in the record's order,
// and a load takes them back, announcing nothing.
TEST_F(ControlProperties, EveryChangedPropertyIsSavedInTheRecordOrder) {
  ControlHarness design(component, false);
  design.control->initProperties();
  MemoryPropertyBag fresh;
  design.control->writeProperties(fresh);
  EXPECT_EQ(fresh.entries(),
            (std::vector<std::pair<std::string, Variant>>{{"Enabled", Variant(true)}}));
  ASSERT_TRUE(design.control->put("DeveloperCompany", Variant("acme")));
  ASSERT_TRUE(design.control->put("Tag", Variant("t")));
  ASSERT_TRUE(design.control->put("MaxRecsPerPage", Variant(int32_t{20})));
  ASSERT_TRUE(design.control->put("Interval", Variant(int32_t{3})));
  ASSERT_TRUE(design.control->put("DoTimer", Variant(true)));
  ASSERT_TRUE(design.control->put("BackColor", Variant(int32_t{255})));
  ASSERT_TRUE(design.control->put("Enabled", Variant(false)));
  EXPECT_EQ(design.site.announced,
            (std::vector<std::string>{"DeveloperCompany", "Tag", "MaxRecsPerPage", "Interval",
                                      "DoTimer", "BackColor", "Enabled"}));
  MemoryPropertyBag bag;
  design.control->writeProperties(bag);
  std::vector<std::string> keys;
  for (const auto& e : bag.entries()) keys.push_back(e.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"Enabled", "BackColor", "DoTimer", "Interval",
                                            "MaxRecsPerPage", "Tag", "DeveloperCompany"}));

  ControlHarness loaded{component};
  loaded.control->readProperties(bag);
  MemoryPropertyBag again;
  loaded.control->writeProperties(again);
  EXPECT_EQ(again.entries(), bag.entries());
  EXPECT_FALSE(loaded.control->enabled().value());
  EXPECT_EQ(component->developerCompany, "ACME");
  EXPECT_TRUE(loaded.site.announced.empty());
}

// Stored values are taken without the checks, an unreadable one leaves its default, and the
// shared company follows the last control loaded, an empty record clearing it.
TEST_F(ControlProperties, LoadTakesStoredValuesWithoutChecks) {
  MemoryPropertyBag bag, first, second, empty;
  bag.set("ApplicationPath", Variant("relative"));
  bag.set("Interval", Variant(int32_t{-4}));
  bag.set("MaxRecsPerPage", Variant("not a number"));
  ControlHarness h{component};
  h.control->readProperties(bag);
  EXPECT_EQ(h.savedApplicationPath(), "relative");
  EXPECT_EQ(h.control->interval(), -4);
  EXPECT_EQ(h.control->maxRecsPerPage(), 10);
  EXPECT_EQ(component->applicationPath, "/opt/host/");

  first.set("DeveloperCompany", Variant("FIRST"));
  second.set("DeveloperCompany", Variant("SECOND"));
  ControlHarness a{component}, b{component};
  a.control->readProperties(first);
  b.control->readProperties(second);
  EXPECT_EQ(component->developerCompany, "SECOND");
  ControlHarness c{component};
  c.control->initProperties();
  EXPECT_EQ(c.control->developerCompany(), "SECOND");
  c.control->readProperties(empty);
  EXPECT_TRUE(c.control->enabled().value());  // the Integer 1 default reads as enabled
  EXPECT_EQ(c.savedApplicationPath(), "/opt/host/");
  EXPECT_EQ(c.control->developerCompany(), "");
  EXPECT_EQ(component->developerCompany, "");
}

// Two components on one thread keep their own flags, forms and feature states; a control that
// joins a component sees what the others of that component set.
TEST(Component, TwoOnOneThreadShareNothingWhileTheControlsOfOneShareIt) {
  ControlHarness a, b;
  std::string path = "/srv/a";
  a.control->setApplicationPath(path);
  MemoryPropertyBag record;
  record.set("DeveloperCompany", Variant("ACME"));
  a.control->readProperties(record);
  reportForm(*a.component, a.platform()).setAutoReporting(true);
  a.component->reportSettings.working.header = "mine";

  auto header = [](ControlHarness& h) {
    return h.control->call("AdvancedSettings", {Variant(Ra_Header)}).value();
  };
  EXPECT_EQ(header(a), Variant("mine"));
  EXPECT_EQ(header(b), Variant(""));
  EXPECT_EQ(b.component->applicationPath, libraryFolder());
  EXPECT_EQ(b.component->developerCompany, "");
  EXPECT_FALSE(reportForm(*b.component, b.platform()).AutoReporting());
  EXPECT_NE(&reportForm(*a.component, a.platform()), &reportForm(*b.component, b.platform()));
  EXPECT_NE(a.component->advancedSettingsForm, nullptr);
  EXPECT_NE(a.component->advancedSettingsForm, b.component->advancedSettingsForm);

  ControlHarness joined(a.component);
  joined.control->initProperties();
  EXPECT_EQ(joined.savedApplicationPath(), "/srv/a/");
  EXPECT_EQ(joined.control->developerCompany(), "ACME");
  EXPECT_EQ(header(joined), Variant("mine"));
  EXPECT_TRUE(reportForm(*joined.component, joined.platform()).AutoReporting());
}

}  // namespace
}  // namespace quelo
