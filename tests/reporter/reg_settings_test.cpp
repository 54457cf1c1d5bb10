#include "reporter/reg_settings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "fakes/scratch_dir.h"
#include "platform/posix/sqlite_settings_store.h"

namespace quelo {
namespace {

using testing::ScratchDir;

const int32_t kLocalMachine = static_cast<int32_t>(reg::kLocalMachine);

struct RawRow {
  std::string root, path, keyClass, name;
  int64_t type = 0;
  std::string data;
};

// The rows of the file as another program sees them through the sqlite3 library.
std::vector<RawRow> rawRows(const std::string& file) {
  sqlite3* db = nullptr;
  std::vector<RawRow> rows;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return rows;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT k.root, k.path, k.class, v.name, v.type, v.data FROM reg_keys k"
                     " JOIN reg_values v ON v.key_id = k.id ORDER BY k.id, v.name",
                     -1, &s, nullptr);
  auto text = [&](int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_blob(s, col));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(s, col)));
  };
  while (s && sqlite3_step(s) == SQLITE_ROW)
    rows.push_back({text(0), text(1), text(2), text(3), sqlite3_column_int64(s, 4), text(5)});
  sqlite3_finalize(s);
  sqlite3_close(db);
  return rows;
}

class RegSettings : public ::testing::Test {
 protected:
  ScratchDir dir;
  SqliteSettingsStore store{dir / "registry.sqlite"};
};

TEST_F(RegSettings, WritesTheValueNamedByTheFullKeyPathAsAString) {
  const std::string record = "Times New Roman**_** **_**\xC2\xA9 Me**_**0";
  ASSERT_TRUE(WriteRegSetting(&store, record, "PwInf"));
  ASSERT_TRUE(WriteRegSetting(&store, record, "PwInf")) << "writing again opens the existing key";

  const auto rows = rawRows(store.file());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].root, "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(rows[0].path, "Software\\TORVEL\\VarnikQuelo\\PwInf");
  EXPECT_EQ(rows[0].keyClass, "1");
  EXPECT_EQ(rows[0].name, "Software\\TORVEL\\VarnikQuelo\\PwInf");
  EXPECT_EQ(rows[0].type, 1);
  EXPECT_EQ(rows[0].data, record) << "no terminating zero, UTF-8";
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
