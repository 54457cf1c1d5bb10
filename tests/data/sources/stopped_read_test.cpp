// A read that a watch stops from another thread ends soon, with the interrupt error, whether it
// waits on a named pipe that never gets a writer or runs a query that never ends; an unstopped
// read counts its rows into the watch.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "data/sources/sqlite_source.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"
#include "platform/read_watch.h"

namespace quelo::testing {
namespace {

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

}  // namespace
}  // namespace quelo::testing
