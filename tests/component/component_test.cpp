#include "component/component.h"

#include <gtest/gtest.h>

#include "automation/property_bag.h"
#include "fakes/control_harness.h"
#include "platform/posix/library_folder.h"
#include "report/report_settings.h"
#include "report_forms/report_form.h"

namespace quelo {
namespace {

using testing::ControlHarness;

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
