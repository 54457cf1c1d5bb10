#include <gtest/gtest.h>

#include "fakes/control_harness.h"

namespace quelo {
namespace {

using testing::ControlHarness;

class ControlPersistence : public ::testing::Test {
 protected:
  void SetUp() override { component->applicationPath = "/opt/host/"; }
  std::shared_ptr<Component> component = std::make_shared<Component>();  // the thread's, shared by its controls
};

TEST_F(ControlPersistence, NewControlSavesOnlyEnabledInOrder) {
  ControlHarness h{component};
  h.control->initProperties();
  MemoryPropertyBag bag;
  h.control->writeProperties(bag);
  ASSERT_EQ(bag.entries().size(), 1u);
  EXPECT_EQ(bag.entries()[0].first, "Enabled");
  EXPECT_EQ(bag.entries()[0].second, Variant(true));
}

TEST_F(ControlPersistence, EveryChangedPropertyIsSavedInTheRecordOrder) {
  ControlHarness design(component, false);
  design.control->initProperties();
  ASSERT_TRUE(design.control->put("DeveloperCompany", Variant("acme")));
  ASSERT_TRUE(design.control->put("Tag", Variant("t")));
  ASSERT_TRUE(design.control->put("MaxRecsPerPage", Variant(int32_t{20})));
  ASSERT_TRUE(design.control->put("Interval", Variant(int32_t{3})));
  ASSERT_TRUE(design.control->put("DoTimer", Variant(true)));
  ASSERT_TRUE(design.control->put("BackColor", Variant(int32_t{255})));
  ASSERT_TRUE(design.control->put("Enabled", Variant(false)));
  MemoryPropertyBag bag;
  design.control->writeProperties(bag);
  std::vector<std::string> keys;
  for (const auto& e : bag.entries()) keys.push_back(e.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"Enabled", "BackColor", "DoTimer", "Interval", "MaxRecsPerPage", "Tag",
                                            "DeveloperCompany"}));

  ControlHarness loaded{component};
  loaded.control->readProperties(bag);
  EXPECT_FALSE(loaded.control->enabled().value());
  EXPECT_EQ(loaded.control->backColor().value(), 255u);
  EXPECT_TRUE(loaded.control->doTimer());
  EXPECT_EQ(loaded.control->interval(), 3);
  EXPECT_EQ(loaded.control->maxRecsPerPage(), 20);
  EXPECT_EQ(loaded.control->tag(), "t");
  EXPECT_EQ(loaded.control->developerCompany(), "ACME");
  EXPECT_EQ(component->developerCompany, "ACME");
  EXPECT_TRUE(loaded.site.announced.empty());  // a load assigns without the property checks
}

TEST_F(ControlPersistence, EmptyRecordLoadsAsANewControlWithoutCompany) {
  component->developerCompany = "EARLIER";
  ControlHarness h{component};
  MemoryPropertyBag empty;
  h.control->readProperties(empty);
  EXPECT_TRUE(h.control->enabled().value());  // the Integer 1 default reads as enabled
  EXPECT_EQ(h.control->backColor().value(), ZeQuelo::kDefaultBackColor);
  EXPECT_EQ(h.control->applicationPathField(), "/opt/host/");
  EXPECT_EQ(h.control->maxRecsPerPage(), 10);
  EXPECT_EQ(h.control->developerCompany(), "");
  EXPECT_EQ(component->developerCompany, "");
}

TEST_F(ControlPersistence, LoadTakesStoredValuesWithoutChecksAndSharedPathStays) {
  MemoryPropertyBag bag;
  bag.set("ApplicationPath", Variant("relative"));
  bag.set("Interval", Variant(int32_t{-4}));
  bag.set("MaxRecsPerPage", Variant("not a number"));  // unreadable: its default stays
  ControlHarness h{component};
  h.control->readProperties(bag);
  EXPECT_EQ(h.control->applicationPathField(), "relative");
  EXPECT_EQ(h.control->interval(), -4);
  EXPECT_EQ(h.control->maxRecsPerPage(), 10);
  EXPECT_EQ(component->applicationPath, "/opt/host/");
}

TEST_F(ControlPersistence, SharedCompanyFollowsTheLastLoadedControl) {
  MemoryPropertyBag first, second;
  first.set("DeveloperCompany", Variant("FIRST"));
  second.set("DeveloperCompany", Variant("SECOND"));
  ControlHarness a{component}, b{component};
  a.control->readProperties(first);
  b.control->readProperties(second);
  EXPECT_EQ(component->developerCompany, "SECOND");
  ControlHarness c{component};
  c.control->initProperties();
  EXPECT_EQ(c.control->developerCompany(), "SECOND");
}

}  // namespace
}  // namespace quelo
