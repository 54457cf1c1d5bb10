// The settings record: its fields joined and read back, old and odd records, the values the
// AdvancedSettings member gives, the installed font names, and the record in the settings store.
#include "report/report_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_fonts.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "platform/posix/sqlite_settings_store.h"
#include "report/reg_settings.h"

namespace quelo {
namespace {

// Every field set, the numbers to 1.
SettingsRecord sample() {
  SettingsRecord s;
  readSettingsRecord(
      "DejaVu Sans**_**Head**_**Foot**_**1**_**1**_**line 1\r\nline 2**_**/pics/logo.png**_**"
      "/pics/sig.jpg**_**http://example.org**_**me@example.org**_**1**_**1",
      s);
  return s;
}

// Equal settings give equal records: the record names every field.
bool same(const SettingsRecord& a, const SettingsRecord& b) {
  return formatSettingsRecord(a) == formatSettingsRecord(b);
}

// The record's layout is checked where the settings form writes it; here, what the form never
// gives: negative numbers, and a fill of empty texts that leaves the font empty.
TEST(SettingsRecord, NegativeNumbersAndAnEmptyFont) {
  SettingsRecord s;
  s.useNotes = -1;
  fillEmptyTexts(s);
  EXPECT_EQ(formatSettingsRecord(s),
            "**_** **_** **_**-1**_**0**_** **_** **_** **_** **_** **_**0**_**0");
}

// Any text reads back exactly, in any field; texts without "**_" are written as they stand.
TEST(SettingsRecord, EveryTextReadsBackExactly) {
  const std::string awkward[] = {"a**_**b", "ends in **_", "ends in **_*", "**_",  "**_**_**", "*",
                                 "_**",     "**_\x1F",     "**_\x1Fx",     "\x1F", "**_x",     ""};
  for (const std::string& text : awkward) {
    SettingsRecord s = sample();
    s.fontName = s.header = s.notes = s.email = text;
    SettingsRecord back;
    readSettingsRecord(formatSettingsRecord(s), back);
    EXPECT_TRUE(same(back, s)) << text;
  }
}

// A short record fills only the fields it has; records stored before texts were escaped read as
// they always did, a separator inside a text shifting the fields after it; a number part reads as
// its leading number rounded, and one beyond 16 bits leaves the field as it was.
TEST(SettingsRecord, ShortOldAndOddRecordsReadAsBefore) {
  const struct {
    const char* record;
    const char* expected;
  } cases[] = {
      {"Times New Roman", "Times New Roman**_**Head**_**Foot**_**1**_**1**_**line 1\r\nline 2"},
      {"F**_**H**_**", "F**_**H**_****_**1**_**1"},
      {"F**_**a**_**b**_**Foot**_**1**_**N**_**x**_y",
       "F**_**a**_**b**_**0**_**1**_**N**_**x**_y**_**/pics/sig.jpg"},
      {"F**_**h**_**f**_** 1", "F**_**h**_**f**_**1**_**"},
      {"F**_**h**_**f**_**-1", "F**_**h**_**f**_**-1**_**"},
      {"F**_**h**_**f**_**2.5", "F**_**h**_**f**_**2**_**"},
      {"F**_**h**_**f**_**3.5", "F**_**h**_**f**_**4**_**"},
      {"F**_**h**_**f**_**1x", "F**_**h**_**f**_**1**_**"},
      {"F**_**h**_**f**_**", "F**_**h**_**f**_**0**_**"},
      {"F**_**h**_**f**_**99999", "F**_**h**_**f**_**1**_**"},
  };
  for (const auto& c : cases) {
    SettingsRecord s = sample();
    readSettingsRecord(c.record, s);
    EXPECT_TRUE(formatSettingsRecord(s).starts_with(c.expected))
        << c.record << " gave " << formatSettingsRecord(s);
  }
}

TEST(AdvancedSettingValue, BooleansComeFromTheNumbersAndAnyOtherNumberIsEmpty) {
  const SettingsRecord s = sample();
  EXPECT_EQ(advancedSettingValue(s, Ra_UseNotes), Variant(true));
  EXPECT_EQ(advancedSettingValue(s, Ra_NotesOnTop), Variant(false));
  EXPECT_EQ(advancedSettingValue(s, Ra_AllPages), Variant(false));
  EXPECT_TRUE(advancedSettingValue(s, 10).isEmpty());
  EXPECT_TRUE(advancedSettingValue(s, -1).isEmpty());
}

// Sorted without regard to case, each name once, at most 513.
TEST(InstalledFontNames, SortsListsEachNameOnceAndKeepsAtMost513) {
  testing::FakeFonts fonts({"beta", "Alpha", "Gamma", "Alpha", "alpha", "beta"});
  EXPECT_EQ(installedFontNames(fonts),
            (std::vector<std::string>{"Alpha", "alpha", "beta", "Gamma"}));
  fonts.names.clear();
  for (int i = 999; i >= 0; --i) fonts.names.push_back("Font " + std::to_string(1000 + i));
  const auto names = installedFontNames(fonts);
  ASSERT_EQ(names.size(), 513u);
  EXPECT_EQ(names.front(), "Font 1000");
  EXPECT_EQ(names.back(), "Font 1512");
}

const int32_t kLocalMachine = static_cast<int32_t>(reg::kLocalMachine);

class RegSettings : public ::testing::Test {
 protected:
  testing::ScratchDir dir;
  SqliteSettingsStore store{dir / "registry.sqlite"};
};

TEST_F(RegSettings, WritesTheValueNamedByTheFullKeyPathAsAString) {
  const std::string record = "Times New Roman**_** **_**\xC2\xA9 Me**_**0";
  ASSERT_TRUE(writeRegSetting(&store, record, "PwInf"));
  ASSERT_TRUE(writeRegSetting(&store, record, "PwInf")) << "writing again opens the existing key";

  // The rows as another program sees them: no terminating zero, UTF-8.
  const std::string path = "Software\\TORVEL\\VarnikQuelo\\PwInf";
  EXPECT_EQ(
      testing::sqlRows(store.file(),
                       "SELECT k.root, k.path, k.class, v.name, v.type, v.data FROM reg_keys k"
                       " JOIN reg_values v ON v.key_id = k.id"),
      (std::vector<std::vector<std::string>>{
          {"HKEY_LOCAL_MACHINE", path, "1", path, "1", record}}));
  EXPECT_EQ(readRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant(record));
}

// A read trims spaces and drops a terminating zero, and gives an empty string for anything
// missing; a write that fails returns false.
TEST_F(RegSettings, ReadTrimsOrGivesAnEmptyStringAndAFailedWriteIsFalse) {
  EXPECT_EQ(readRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant(""));
  const RegistryKey key{reg::kLocalMachine, "Software\\TORVEL\\VarnikQuelo\\PwInf"};
  ASSERT_TRUE(
      store.setValue(key, "1", key.path, {reg::kString, std::string("  text \r\n ", 10) + '\0'})
          .isOk());
  EXPECT_EQ(readRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant("text \r\n"));
  EXPECT_EQ(readRegSetting(&store, kLocalMachine, kProductKey, "Other"), Variant(""));
  EXPECT_EQ(readRegSetting(nullptr, kLocalMachine, kProductKey, "PwInf"), Variant(""));
  dir.write("file", "");
  SqliteSettingsStore inAFile(dir / "file/registry.sqlite");
  EXPECT_FALSE(writeRegSetting(&inAFile, "x", "PwInf"));
  EXPECT_FALSE(writeRegSetting(nullptr, "x", "PwInf"));
}

}  // namespace
}  // namespace quelo
