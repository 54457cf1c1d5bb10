#include <gtest/gtest.h>

#include "fakes/control_harness.h"
#include "forms/form_presenter.h"

namespace quelo {
namespace {

using testing::ControlHarness;

class ControlProperties : public ::testing::Test {
 protected:
  void SetUp() override { component->applicationPath = "/opt/host/"; }
  std::shared_ptr<Component> component = std::make_shared<Component>();  // the thread's, shared by its controls
};

TEST_F(ControlProperties, RunModeApplicationPathIsTrimmedCompletedAndShared) {
  ControlHarness h{component};
  Args args{Variant("  D:\\Data  ")};
  ASSERT_TRUE(h.control->invoke("ApplicationPath", InvokeKind::PropertyPut, args));
  EXPECT_EQ(args[0], Variant("D:\\Data\\"));
  EXPECT_EQ(h.control->applicationPathField(), "D:\\Data\\");
  EXPECT_EQ(component->applicationPath, "D:\\Data\\");
  std::string posix = " /srv/app ";
  h.control->setApplicationPath(posix);
  EXPECT_EQ(posix, "/srv/app/");
  EXPECT_EQ(component->applicationPath, "/srv/app/");
  EXPECT_EQ(h.site.announced, (std::vector<std::string>{"ApplicationPath", "ApplicationPath"}));
}

TEST_F(ControlProperties, RunModeApplicationPathIgnoresRelativeNetworkAndEmpty) {
  ControlHarness h{component};
  h.control->initProperties();
  for (std::string path : {"Data\\Reports", "\\\\server\\share", "", "   ", "relative/dir"}) {
    h.control->setApplicationPath(path);
    EXPECT_EQ(h.control->applicationPathField(), "/opt/host/") << path;
  }
  EXPECT_EQ(component->applicationPath, "/opt/host/");
  EXPECT_TRUE(h.site.announced.empty());
}

// Read in run mode it fails; in design mode it reads, and a write only tells how to set it.
TEST_F(ControlProperties, ApplicationPathIsReadAndWrittenOnlyInRunMode) {
  ControlHarness run{component};
  run.control->initProperties();
  EXPECT_EQ(run.control->get("ApplicationPath").error().number, 393);
  ControlHarness h(component, false);
  h.control->initProperties();
  EXPECT_EQ(h.control->get("ApplicationPath").value(), Variant("/opt/host/"));
  ASSERT_TRUE(h.control->put("ApplicationPath", Variant("E:\\Other")));
  EXPECT_EQ(h.control->applicationPathField(), "/opt/host/");
  EXPECT_EQ(h.messageBox.shown.size(), 1u);
}

TEST_F(ControlProperties, DeveloperCompanyOnlyInDesignModeTrimmedAndUpperCase) {
  ControlHarness design(component, false);
  ASSERT_TRUE(design.control->put("DeveloperCompany", Variant(" acme ")));
  EXPECT_EQ(design.control->developerCompany(), "ACME");
  ASSERT_TRUE(design.control->put("DeveloperCompany", Variant("   ")));
  EXPECT_EQ(design.control->developerCompany(), "ACME");
  ASSERT_TRUE(design.control->put("DeveloperCompany", Variant("société ñ")));
  EXPECT_EQ(design.control->developerCompany(), "SOCIÉTÉ Ñ");
  EXPECT_EQ(component->developerCompany, "");  // follows only at the next load
  ControlHarness run{component};
  ASSERT_TRUE(run.control->put("DeveloperCompany", Variant("acme")));
  EXPECT_EQ(run.control->developerCompany(), "");
  EXPECT_TRUE(run.site.announced.empty());
}

TEST_F(ControlProperties, IntervalRefusesNegativeAndMaxRecsTakesAnyValue) {
  ControlHarness h{component};
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{4})));
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{-1})));
  EXPECT_EQ(h.control->interval(), 4);
  ASSERT_TRUE(h.control->put("Interval", Variant(int32_t{0})));
  EXPECT_EQ(h.control->interval(), 0);
  ASSERT_TRUE(h.control->put("MaxRecsPerPage", Variant(int32_t{7})));
  EXPECT_EQ(h.control->maxRecsPerPage(), 7);
  EXPECT_EQ(h.site.announced, (std::vector<std::string>{"Interval", "Interval", "MaxRecsPerPage"}));
}

TEST_F(ControlProperties, MaxRecsFallsBackToTenWhenTheAnnouncementFails) {
  ControlHarness h{component};
  h.site.failAnnouncements = true;
  int32_t n = 50;
  h.control->setMaxRecsPerPage(n);
  EXPECT_EQ(h.control->maxRecsPerPage(), 10);
}

TEST_F(ControlProperties, ColourAndEnabledPassWindowFailuresOn) {
  ControlHarness h{component};
  ASSERT_TRUE(h.control->put("BackColor", Variant(int32_t{255})));
  EXPECT_EQ(h.control->backColor().value(), 255u);
  h.window.fail = true;
  EXPECT_FALSE(h.control->put("BackColor", Variant(int32_t{1})));
  EXPECT_FALSE(h.control->get("Enabled"));
  EXPECT_EQ(h.site.announced, (std::vector<std::string>{"BackColor"}));
}

TEST_F(ControlProperties, SizeFocusAndClick) {
  ControlHarness h{component};
  ASSERT_TRUE(h.window.setSize({2000, 100}));
  h.control->resized();
  EXPECT_EQ(h.window.size(), (SizeTwips{345, 345}));
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
  class Dummy : public forms::Form {
   public:
    using Form::Form;
    void build() override {}
  };
  component->aboutBox = std::make_unique<Dummy>("QueloAbout", presenter);
  h.control->terminate();
  EXPECT_EQ(component->aboutBox, nullptr);
  EXPECT_EQ(component->reportRecordset, nullptr);
}

}  // namespace
}  // namespace quelo
