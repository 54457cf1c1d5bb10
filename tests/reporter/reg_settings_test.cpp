#include "reporter/reg_settings.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "platform/posix/sqlite_settings_store.h"

namespace quelo {
namespace {

using testing::ScratchDir;

const int32_t kLocalMachine = static_cast<int32_t>(reg::kLocalMachine);

class RegSettings : public ::testing::Test {
 protected:
  ScratchDir dir;
  SqliteSettingsStore store{dir / "registry.sqlite"};
};

TEST_F(RegSettings, WritesTheValueNamedByTheFullKeyPathAsAString) {
  const std::string record = "Times New Roman**_** **_**\xC2\xA9 Me**_**0";
  ASSERT_TRUE(WriteRegSetting(&store, record, "PwInf"));
  ASSERT_TRUE(WriteRegSetting(&store, record, "PwInf")) << "writing again opens the existing key";

  // The rows as another program sees them: no terminating zero, UTF-8.
  const std::string path = "Software\\TORVEL\\VarnikQuelo\\PwInf";
  EXPECT_EQ(testing::sqlRows(store.file(), "SELECT k.root, k.path, k.class, v.name, v.type, v.data FROM reg_keys k"
                                           " JOIN reg_values v ON v.key_id = k.id"),
            (std::vector<std::vector<std::string>>{{"HKEY_LOCAL_MACHINE", path, "1", path, "1", record}}));
  EXPECT_EQ(ReadRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant(record));
}

TEST_F(RegSettings, ReadTrimsSpacesAndDropsATerminatingZero) {
  const RegistryKey key{reg::kLocalMachine, "Software\\TORVEL\\VarnikQuelo\\PwInf"};
  ASSERT_TRUE(store.setValue(key, "1", key.path, {reg::kString, std::string("  text \r\n ", 10) + '\0'}).isOk());
  EXPECT_EQ(ReadRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant("text \r\n"));
}

TEST_F(RegSettings, ReadGivesAnEmptyStringForAnythingMissing) {
  EXPECT_EQ(ReadRegSetting(&store, kLocalMachine, kProductKey, "PwInf"), Variant(""));
  ASSERT_TRUE(WriteRegSetting(&store, "x", "PwInf"));
  EXPECT_EQ(ReadRegSetting(&store, kLocalMachine, kProductKey, "Other"), Variant(""));
  EXPECT_EQ(ReadRegSetting(&store, static_cast<int32_t>(reg::kCurrentUser), kProductKey, "PwInf"), Variant(""));
  EXPECT_EQ(ReadRegSetting(&store, 0, kProductKey, "PwInf"), Variant(""));
  EXPECT_EQ(ReadRegSetting(nullptr, kLocalMachine, kProductKey, "PwInf"), Variant(""));
}

TEST_F(RegSettings, AWriteThatFailsReturnsFalse) {
  dir.write("file", "");
  SqliteSettingsStore inAFile(dir / "file/registry.sqlite");
  EXPECT_FALSE(WriteRegSetting(&inAFile, "x", "PwInf"));
  EXPECT_FALSE(WriteRegSetting(nullptr, "x", "PwInf"));
}

}  // namespace
}  // namespace quelo
