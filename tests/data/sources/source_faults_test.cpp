// The data sources read their files through the FileSystem: whichever file operation of an open
// fails, the open fails with an error naming the file, never with fewer records.
#include <gtest/gtest.h>

#include <functional>

#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "data/sources/sqlite_source.h"
#include "fakes/countdown_file_system.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::testing {
namespace {

TEST(SourceFaults, AFaultAtAnyFileOperationFailsTheOpen) {
  ScratchDir dir;
  constexpr int kRows = 5000;  // past one read buffer, so each pass reads several times
  std::string csv = "Name,Price\n";
  for (int i = 0; i < kRows; ++i) csv += "item" + std::to_string(i) + "," + std::to_string(i) + "\n";
  dir.write("data.csv", csv);
  sqlExec(dir / "shop.db", "CREATE TABLE items (name TEXT); INSERT INTO items VALUES ('a'), ('b');");

  struct Case {
    std::string file;
    std::function<std::shared_ptr<RowSource>(FileSystem&, const std::string&)> source;
    int64_t rows;
  };
  const std::vector<Case> cases = {
      {dir / "data.csv", [](FileSystem& f, const std::string& file) { return csvFile(f, file); }, kRows},
      {dir / "shop.db",
       [](FileSystem& f, const std::string& file) { return sqliteQuery(f, file, "SELECT * FROM items"); }, 2},
  };
  PosixFileSystem disk;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    CountdownFileSystem counting(disk, {}, /*countQueries=*/true);
    auto whole = Recordset::open(c.source(counting, c.file));
    ASSERT_TRUE(whole.isOk()) << whole.error().message;
    EXPECT_EQ(whole.value()->recordCount().valueOr(-1), c.rows);
    const int count = static_cast<int>(counting.operations().size());
    for (int n = 1; n <= count; ++n) {
      SCOPED_TRACE(counting.operations()[n - 1]);
      CountdownFileSystem faulty(disk, {.at = n}, /*countQueries=*/true);
      auto rs = Recordset::open(c.source(faulty, c.file));
      ASSERT_FALSE(rs.isOk());
      EXPECT_NE(rs.error().message.find(c.file), std::string::npos) << rs.error().message;
    }
  }
}

}  // namespace
}  // namespace quelo::testing
