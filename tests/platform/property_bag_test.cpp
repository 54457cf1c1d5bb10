#include "platform/property_bag.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

TEST(PropertyBag, ValueEqualToDefaultIsNotStoredAndReadsAsDefault) {
  MemoryPropertyBag bag;
  ASSERT_TRUE(bag.write("Interval", Variant(int32_t{0}), Variant(int32_t{0})));
  ASSERT_TRUE(bag.write("Tag", Variant("x"), Variant("")));
  EXPECT_FALSE(bag.contains("Interval"));
  EXPECT_EQ(bag.read("Interval", Variant(int32_t{4})).value(), Variant(int32_t{4}));
  EXPECT_EQ(bag.read("tag", Variant("")).value(), Variant("x"));  // keys are case-insensitive
  // Writing the default again removes what was stored.
  ASSERT_TRUE(bag.write("Tag", Variant(""), Variant("")));
  EXPECT_FALSE(bag.contains("Tag"));
}

TEST(PropertyBag, BooleanNeverEqualsTheIntegerOne) {
  EXPECT_FALSE(sameStoredValue(Variant(true), Variant(int16_t{1})));
  EXPECT_TRUE(sameStoredValue(Variant(true), Variant(int16_t{-1})));
  EXPECT_TRUE(sameStoredValue(Variant(int32_t{10}), Variant(10.0)));
  EXPECT_FALSE(sameStoredValue(Variant("10"), Variant(int32_t{10})));
}

TEST(FilePropertyBag, SavesAndLoadsEveryKindWithAwkwardText) {
  testing::ScratchDir dir;
  FilePropertyBag bag;
  bag.set("Tag", Variant("tab\there\nline\\back\r"));
  bag.set("Enabled", Variant(true));
  bag.set("Interval", Variant(int32_t{-3}));
  bag.set("Small", Variant(int16_t{7}));
  bag.set("Ratio", Variant(0.25));
  bag.set("Company", Variant("Ünïcødé ACME"));
  ASSERT_TRUE(bag.save(dir / "form.props"));
  auto loaded = FilePropertyBag::load(dir / "form.props");
  ASSERT_TRUE(loaded) << loaded.error().message;
  EXPECT_EQ(loaded.value().entries(), bag.entries());
}

TEST(FilePropertyBag, MissingFileIsEmptyAndMalformedFileIsAnError) {
  testing::ScratchDir dir;
  auto none = FilePropertyBag::load(dir / "absent.props");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none.value().entries().empty());
  dir.write("bad.props", "Tag\tString\tok\nno tabs here\n");
  auto bad = FilePropertyBag::load(dir / "bad.props");
  ASSERT_FALSE(bad);
  EXPECT_NE(bad.error().message.find(":2:"), std::string::npos) << bad.error().message;
  dir.write("type.props", "Interval\tLong\tnot a number\n");
  EXPECT_FALSE(FilePropertyBag::load(dir / "type.props"));
}

TEST(FilePropertyBag, SaveIntoMissingFolderFailsAndLeavesNothing) {
  testing::ScratchDir dir;
  FilePropertyBag bag;
  bag.set("Tag", Variant("x"));
  EXPECT_FALSE(bag.save(dir / "no/such/folder/form.props"));
}

}  // namespace
}  // namespace quelo
