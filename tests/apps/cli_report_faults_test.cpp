// quelo report and quelo call under faults that only a real process meets: a file size limit,
// SIGKILL at any moment, two runs at once. Every page is always either as it was before the
// run or whole with the run's sections, and a rerun is right.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "fakes/folder_files.h"
#include "fakes/sqlite_file.h"
#include "report_cli_fixture.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

class QueloReportFaults : public ReportCli {
 protected:
  // A CSV file, or an SQLite file (".db") whose rows are counted while the pages are written.
  std::vector<std::string> reportArgs(const std::string& data, const std::string& app,
                                      const std::string& maxRecs) const {
    std::vector<std::string> args = {QUELO_CLI, "report",     "--app-path", app,      "--file",
                                     "v",       "--max-recs", maxRecs,      "--quiet"};
    if (data.ends_with(".db"))
      args.insert(args.end(), {"--sqlite", data, "--query", "SELECT * FROM t"});
    else
      args.insert(args.end(), {"--csv", data});
    return args;
  }
  // `rows` rows in an SQLite file.
  std::string sqliteRows(int rows) const {
    const std::string db = dir / ("rows" + std::to_string(rows) + ".db");
    sqlExec(db,
            "CREATE TABLE t AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
            "WHERE i < " +
                std::to_string(rows) + ") SELECT 'Item ' || i AS name, i + 0.25 AS price FROM n");
    return db;
  }
  // The sources a fault is tried on, and the records a page asked for: a CSV file, and an SQLite
  // query of more rows than 101 pages, whose pages are then begun before the rows are counted.
  struct Road {
    std::string data, maxRecs;
  };
  void killedRuns(const std::string& data, const std::string& maxRecs);
  void runsAtOnce(const std::string& data, const std::string& maxRecs);
  ProcessResult run(const std::vector<std::string>& args) const { return runProcess(args, env()); }
  // A first report into the new application folder `app`: its pages by name.
  FolderFiles firstReport(const std::string& data, const std::string& app,
                          const std::string& maxRecs) const {
    fs::create_directories(dir / app);
    const ProcessResult r = run(reportArgs(data, dir / app, maxRecs));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return filesUnder(dir / (app + "/Reports"));
  }
};

// A file that cannot be written ends the run with its exit status and one message naming the file
// and the cause, and leaves every file as it was: under a file size limit, the page that outgrows
// it on its own as it is built (the last, which holds the statistics) and the message log; a
// query's rows kept in a scratch file in $TMPDIR (which leaves no name there) that cannot be made
// or cannot grow.
TEST_F(QueloReportFaults, AFileThatCannotBeWrittenFailsTheRunAndChangesNothing) {
  const std::string data = csv(60);
  const FolderFiles pages = firstReport(data, "app", "20");
  ASSERT_EQ(pages.size(), 3u);
  sqlExec(dir / "t.db",
          "CREATE TABLE t AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
          "i < 500)"
          " SELECT i, 'item ' || i AS name FROM n");
  for (const char* folder : {"tmp", "query", "log/Reports/Log"})
    fs::create_directories(dir / folder);
  dir.write("log/Reports/Log/ZeMessages.htm", std::string(1000, 'x'));
  const std::vector<std::string> query = {QUELO_CLI,    "report",      "--sqlite",
                                          dir / "t.db", "--query",     "SELECT * FROM t",
                                          "--app-path", dir / "query", "--quiet"};
  auto quiet = env();
  quiet["TMPDIR"] = dir / "tmp";
  EXPECT_EQ(runProcess(query, quiet).exitCode, 0);
  EXPECT_TRUE(fs::is_empty(dir / "tmp"));
  fs::remove_all(dir / "query/Reports");
  const auto limited = [](size_t bytes, std::vector<std::string> command) {
    command.insert(command.begin(), {"prlimit", "--fsize=" + std::to_string(bytes)});
    return command;
  };
  struct Case {
    std::vector<std::string> command;
    std::string tmpdir, folder;  // the folder whose files stay as they were
    int status;
    std::string words;
  } const cases[] = {
      {limited(pages.at("v1.htm").size() + 100, reportArgs(data, dir / "app", "20")), "/tmp", "app",
       1, page("v3.htm") + "': File too large"},
      {query, dir / "missing", "query", 2,
       "the rows' scratch file in " + dir / "missing" + " cannot be created"},
      {limited(1000, query), "/tmp", "query", 2,
       "the rows' scratch file in /tmp cannot be written: File too large"},
      {limited(1100,
               {QUELO_CLI, "call", "--app-path", dir / "log", "LogMessage", std::string(300, 'm')}),
       "/tmp", "log", 1,
       "error 61: Cannot write '" + dir / "log/Reports/Log/ZeMessages.htm" + "': File too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    const FolderFiles before = filesUnder(dir / c.folder);
    auto environment = env();
    environment["TMPDIR"] = c.tmpdir;
    const ProcessResult r = runProcess(c.command, environment);
    EXPECT_EQ(r.exitCode, c.status) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(filesUnder(dir / c.folder), before);
  }
}

// SIGKILL at a spread of moments over a run that appends to an earlier report's pages of
// several buffers each: each page is as before or whole, only temporaries are left beside them,
// and the next run removes those and adds its sections whole to every page. The moments are
// shares of the fastest run seen so far, so a run that outpaces the first one is tried again
// earlier rather than missed.
TEST_F(QueloReportFaults, AKilledRunLeavesEveryPageAsItWasOrWhole) {
  for (const auto& [data, maxRecs] : {Road{csv(6000), "500"}, Road{sqliteRows(6000), "5"}})
    killedRuns(data, maxRecs);
}

void QueloReportFaults::killedRuns(const std::string& data, const std::string& maxRecs) {
  SCOPED_TRACE(data);
  const std::string first = "first" + maxRecs;
  fs::remove_all(dir / first);
  fs::remove_all(dir / "full");
  const FolderFiles before = firstReport(data, first, maxRecs);
  ASSERT_GT(before.size(), 10u);
  fs::copy(dir / first, dir / "full", fs::copy_options::recursive);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run(reportArgs(data, dir / "full", maxRecs)).exitCode, 0);
  auto fastest = std::chrono::steady_clock::now() - start;
  const FolderFiles after = filesUnder(dir / "full/Reports");
  FolderFiles add;  // what a complete run adds to each page
  for (const auto& [name, text] : after) add[name] = text.substr(before.at(name).size());

  constexpr int kMoments = 5;
  int kills = 0;
  for (int attempt = 0; kills < kMoments && attempt < 3 * kMoments; ++attempt) {
    SCOPED_TRACE("killed after " + std::to_string(kills) + "/6 of a run");
    const std::string app = dir / ("killed" + maxRecs + "-" + std::to_string(attempt));
    fs::copy(dir / first, app, fs::copy_options::recursive);
    start = std::chrono::steady_clock::now();
    const auto killAt = start + fastest * kills / 6;
    const ProcessResult killed =
        runProcessWatched(reportArgs(data, app, maxRecs), env(), [&](pid_t pid) {
          if (std::chrono::steady_clock::now() < killAt) return false;
          kill(pid, SIGKILL);
          return true;
        });
    if (killed.signal == SIGKILL)
      ++kills;
    else
      fastest = std::min(fastest, std::chrono::steady_clock::now() - start);
    FolderFiles left = filesUnder(app + "/Reports");
    std::erase_if(left, [&](const auto& file) {
      const bool leftover = !before.count(file.first);
      EXPECT_TRUE(!leftover || file.first.starts_with(".Quelo-update-")) << file.first;
      return leftover;
    });
    ASSERT_EQ(left.size(), before.size());
    for (const auto& [name, text] : left)
      EXPECT_TRUE(text == before.at(name) || text == after.at(name))
          << name << " is torn: " << text.size() << " bytes";

    const ProcessResult rerun = run(reportArgs(data, app, maxRecs));
    EXPECT_EQ(rerun.exitCode, 0) << rerun.err;
    const FolderFiles again = filesUnder(app + "/Reports");
    ASSERT_EQ(again.size(), before.size()) << "the rerun removes the leftovers";
    for (const auto& [name, text] : again)
      EXPECT_TRUE(text == left.at(name) + add.at(name)) << name;
  }
  EXPECT_EQ(kills, kMoments);
}

// Two runs at once into a fresh folder: both make Reports, both succeed, and each page holds both
// runs' sections whole; two --replace runs at once, round after round, leave one run's report
// whole in every page and nothing else in the folder.
TEST_F(QueloReportFaults, TwoRunsAtOnceBothSucceedAndKeepEverySection) {
  for (const auto& [data, maxRecs] : {Road{csv(200), "20"}, Road{sqliteRows(2500), "20"}})
    runsAtOnce(data, maxRecs);
}

void QueloReportFaults::runsAtOnce(const std::string& data, const std::string& maxRecs) {
  SCOPED_TRACE(data);
  const FolderFiles one =
      firstReport(data, "one" + maxRecs + data.substr(data.size() - 3), maxRecs);
  for (const bool replace : {false, true}) {
    const std::string app =
        dir / ((replace ? "replaced" : "appended") + data.substr(data.size() - 3));
    fs::create_directory(app);
    std::vector<std::string> args = reportArgs(data, app, maxRecs);
    if (replace) args.push_back("--replace");
    for (int round = 0; round < (replace ? 10 : 1); ++round) {
      SCOPED_TRACE(app + " round " + std::to_string(round));
      ProcessResult a, b;
      std::thread first([&] { a = run(args); });
      std::thread second([&] { b = run(args); });
      first.join();
      second.join();
      EXPECT_EQ(a.exitCode, 0) << a.err;
      EXPECT_EQ(b.exitCode, 0) << b.err;
      EXPECT_EQ(linesOf(a.out).size(), one.size());
      EXPECT_EQ(linesOf(b.out).size(), one.size());
      const FolderFiles both = filesUnder(app + "/Reports");
      ASSERT_EQ(both.size(), one.size());
      for (const auto& [name, text] : one)
        EXPECT_TRUE(both.at(name) == (replace ? text : text + text.substr(kBom.size()))) << name;
    }
  }
}

}  // namespace
}  // namespace quelo::testing
