#include "automation/property_bag.h"

#include <gtest/gtest.h>

#include <optional>

#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

TEST(FilePropertyBag, SavesAndLoadsEveryKindWithAwkwardTextButNotIntoAMissingFolder) {
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
  EXPECT_FALSE(bag.save(dir / "no/such/folder/form.props"));
}

// A line that cannot be read leaves its key out and the others load; a file with lines but none
// readable is no property record. Whatever loads saves and loads again as the same record.
TEST(FilePropertyBag, UnreadableLinesAreLeftOutAndWhatLoadsSurvivesASave) {
  using Entries = std::vector<std::pair<std::string, Variant>>;
  const Entries tagOnly{{"Tag", Variant("ok")}};
  struct Case {
    std::string text;
    std::optional<Entries> loaded;  // nothing: the load fails
  };
  const Case cases[] = {
      {"", Entries{}},
      {"\n\r\n", Entries{}},
      {"Tag\tString\tok\nno tabs here\n", tagOnly},
      {"Interval\tLong\tlots\nTag\tString\tok\n", tagOnly},
      {"Odd\tWeird\t1\nTag\tString\tok", tagOnly},
      {"Tag\tString\tok\r\nInterval\tLong\t3\r\n",
       Entries{{"Tag", Variant("ok")}, {"Interval", Variant(int32_t{3})}}},
      {"\xEF\xBB\xBFTag\tString\tok\n", tagOnly},
      // A key that itself starts with a byte-order mark keeps it through the save.
      {"\xEF\xBB\xBF\xEF\xBB\xBFTag\tString\tok\n", Entries{{"\xEF\xBB\xBFTag", Variant("ok")}}},
      {"Ratio\tDouble\t0.30000000000000004\nBig\tDouble\t1e308\nTiny\tDouble\t5e-324\n",
       Entries{{"Ratio", Variant(0.30000000000000004)},
               {"Big", Variant(1e308)},
               {"Tiny", Variant(5e-324)}}},
      {"Interval\tLong\tlots\n", std::nullopt},
      {std::string("\x7f"
                   "ELF\x02\x01\0\0\xff\n\x03\0\x3e\t\x01",
                   15),
       std::nullopt},
  };
  testing::ScratchDir dir;
  for (const Case& c : cases) {
    dir.write("form.props", c.text);
    auto loaded = FilePropertyBag::load(dir / "form.props");
    ASSERT_EQ(loaded.isOk(), c.loaded.has_value()) << c.text;
    if (!loaded) continue;
    EXPECT_EQ(loaded.value().entries(), *c.loaded) << c.text;
    ASSERT_TRUE(loaded.value().save(dir / "again.props"));
    auto again = FilePropertyBag::load(dir / "again.props");
    ASSERT_TRUE(again) << c.text;
    EXPECT_EQ(again.value().entries(), *c.loaded) << c.text;
  }
  EXPECT_TRUE(FilePropertyBag::load(dir / "absent.props").value().entries().empty());
}

}  // namespace
}  // namespace quelo
