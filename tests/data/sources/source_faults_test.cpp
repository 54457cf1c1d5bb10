// Reads that fail part-way: a fault at any file operation fails the open with an error naming the
// file, never with fewer records; a read that a watch stops from another thread ends soon with
// the interrupt error; an unstopped read counts its rows into the watch.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "data/sources/sqlite_source.h"
#include "fakes/countdown_file_system.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "platform/posix/posix_file_system.h"
#include "platform/read_watch.h"

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

using Clock = std::chrono::steady_clock;

Result<std::shared_ptr<Recordset>> readWatched(const std::shared_ptr<RowSource>& source, ReadWatch& watch) {
  ReadWatchScope scope(watch);
  return Recordset::open(source);
}

TEST(StoppedRead, AStoppedReadEndsWithinASecond) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe.csv").c_str(), 0600), 0);
  dir.write("empty.db", "");
  PosixFileSystem disk;
  const std::pair<const char*, std::shared_ptr<RowSource>> cases[] = {
      {"a named pipe without a writer", csvFile(disk, dir / "pipe.csv")},
      {"an endless query",
       sqliteQuery(disk, dir / "empty.db",
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT count(*) FROM n")},
  };
  for (const auto& [what, source] : cases) {
    SCOPED_TRACE(what);
    ReadWatch watch;
    Result<std::shared_ptr<Recordset>> result = makeError(0, "not read");
    std::thread reader([&, source = source] { result = readWatched(source, watch); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto stoppedAt = Clock::now();
    watch.stop();
    reader.join();
    EXPECT_LT(Clock::now() - stoppedAt, std::chrono::seconds(1));
    ASSERT_FALSE(result.isOk());
    EXPECT_EQ(result.error().number, readStopped().number) << result.error().message;
  }
}

TEST(StoppedRead, AWatchedReadCountsItsRows) {
  ScratchDir dir;
  dir.write("teas.csv", "Name\nGreen\nBlack\nWhite\n");
  PosixFileSystem disk;
  ReadWatch watch;
  auto rs = readWatched(csvFile(disk, dir / "teas.csv"), watch);
  ASSERT_TRUE(rs.isOk()) << rs.error().message;
  EXPECT_EQ(watch.rows(), 3);
  EXPECT_EQ(watch.expected(), 3);
}

}  // namespace {
}  // namespace quelo::testing
