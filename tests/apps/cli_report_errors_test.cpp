// quelo report when things go wrong: usage errors, sources that fail, no records, a Reports
// folder that cannot be written, and Ctrl-C in the middle of a long report.
#include <signal.h>

#include <filesystem>
#include <tuple>

#include "fakes/sqlite_file.h"
#include "report_cli_fixture.h"

namespace quelo::testing {
namespace {

class QueloReportErrors : public ReportCli {
 protected:
  // One line on stderr that starts with "quelo: ", nothing on stdout.
  static void expectOneMessage(const ProcessResult& r, const std::string& words) {
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("quelo: ", 0), 0u) << r.err;
    EXPECT_EQ(linesOf(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
  }
};

TEST_F(QueloReportErrors, UsageErrorsExitTwoWithOneLine) {
  const std::string data = csv(3);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--sqlite", "x.db"}, "--query"},
      {{"--query", "SELECT 1"}, "--query goes with"},
      {{"--csv", data, "--sqlite", "x.db", "--query", "q"}, "one data source"},
      {{"--csv", ""}, "--csv needs"},
      {{"--action", "5"}, "--action"},
      {{"--max-recs", "0"}, "--max-recs"},
      {{"--max-recs", "ten"}, "--max-recs"},
      {{"--cancel-at-page", "-1"}, "--cancel-at-page"},
      {{"--setting", "Ra_Colour=red"}, "Ra_Colour"},
      {{"--setting", "Ra_AllPages=maybe"}, "Ra_AllPages"},
      {{"--setting", "=x"}, "NAME=VALUE"},
      {{"--field", "Name=x"}, "--field Name"},
      {{"--csv", data, "--field", "Name=1", "--field", "name=2"}, "given twice"},
      {{"--csv", data, "--field", "Nmae=0"}, "no field of that name"},
      {{"--csv", data, "--app-path", dir / "app", "--pic-fields", "Name, Phtoo"}, "--pic-fields Phtoo: the data has no"},
      {{"--csv", data, "--app-path", dir / "app", "--graphic-folder", dir / "nowhere"},
       "--graphic-folder " + dir / "nowhere/: no such"},
      {{"--csv", data, "--delimiter", ";;"}, "--delimiter needs one character"},
      {{"--csv", data, "--delimiter", "\""}, "--delimiter needs one character"},
      {{"--delimiter", ";"}, "--delimiter goes with --csv"},
      {{"--strict-quotes"}, "--strict-quotes goes with --csv"},
      {{"--csv", data, "--encoding", "NO-SUCH"}, "--encoding: unknown text encoding 'NO-SUCH'"},
      {{"--bogus"}, "unknown option"},
      {{"extra"}, "unexpected argument"},
      {{"--file"}, "needs a value"},
      {{"--quiet=yes"}, "takes no value"},
      {{"--app-path", dir / "nowhere"}, "no such folder"},
      {{"--app-path", dir / "app", "--file", "two\nlines"}, "--file must not hold control characters"},
      {{"--app-path", dir / "app", "--file=tab\there"}, "--file must not hold control characters"},
      {{"--app-path", dir / "app", "--file", "c1\xC2\x85"}, "--file must not hold control characters"},
      {{"--app-path", dir / "a\rb"}, "--app-path must not hold control characters"},
  };
  for (const auto& [args, words] : cases) {
    SCOPED_TRACE(args.back());
    auto r = report(args);
    EXPECT_EQ(r.exitCode, 2);
    expectOneMessage(r, words);
    EXPECT_NE(r.err.find("(see 'quelo report --help')"), std::string::npos) << r.err;
  }
}

// A source that fails exits 2, a report that cannot be made exits 1: one line says why, and no
// page is written.
TEST_F(QueloReportErrors, FailuresExitWithOneLineAndWriteNothing) {
  sqlExec(dir / "t.db", "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1), (2);");
  std::string header, row;  // more output fields than a report holds
  for (int i = 1; i <= 32001; ++i) {
    header += (i > 1 ? ",c" : "c") + std::to_string(i);
    row += i > 1 ? ",1" : "1";
  }
  dir.write("wide.csv", header + "\n" + row + "\n");
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {  // source, exit status, words
      {{"--csv", dir / "none.csv"}, 2, dir / "none.csv"},
      {{"--sqlite", dir / "t.db", "--query", "SELECT missing FROM t"}, 2, "no such column: missing"},
      {{"--sqlite", dir / "t.db", "--query", "SELECT json_extract(CASE a WHEN 2 THEN 'x' ELSE '{}' END, '$') FROM t"},
       2, "reading row 2 failed: malformed JSON"},
      {{"--postgres", "host=" + dir.path() + " port=1", "--query", "SELECT 1"}, 2, "PostgreSQL"},
      {{"--csv", csv(0)}, 1, "no records"},
      {{"--csv", dir / "wide.csv"}, 1, "quelo: Too many fields! 32001 output fields; a report holds at most 32000."},
  };
  for (auto [args, status, words] : cases) {
    SCOPED_TRACE(args[1]);
    args.insert(args.end(), {"--app-path", dir / "app"});
    auto r = report(args);
    EXPECT_EQ(r.exitCode, status);
    expectOneMessage(r, words);
    EXPECT_FALSE(exists(dir / "app/Reports"));
  }
}

// A symlink planted at the settings store is not followed: the report runs with the default
// preferences and says why in one line.
TEST_F(QueloReportErrors, ASettingsStoreThatIsASymlinkIsRefusedAndSaid) {
  const std::string store = dir / "config/VarnikQuelo/registry.sqlite";
  std::filesystem::create_directories(dir / "config/VarnikQuelo");
  std::filesystem::create_symlink(dir / "elsewhere", store);
  auto r = report({"--csv", csv(3), "--app-path", dir / "app"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(linesOf(r.out).size(), 1u);
  EXPECT_EQ(r.err, "quelo: Settings store '" + store +
                       "': refused: it is a symbolic link; working with the default report preferences\n");
  EXPECT_FALSE(exists(dir / "elsewhere"));
}

// A Reports that is a file cannot become the folder, whoever runs the test; the file is kept.
TEST_F(QueloReportErrors, AReportsFolderThatCannotBeMadeIsReported) {
  dir.write("app/Reports", "not a folder");
  auto r = report({"--csv", csv(12), "--app-path", dir / "app", "--max-recs", "5"});
  EXPECT_EQ(r.exitCode, 1);
  expectOneMessage(r, "could not be written");
  EXPECT_EQ(dir.read("app/Reports"), "not a folder");
}

// Ctrl-C once the first page is built (in the run's folder beside the pages): the report stops at
// its next section, puts the pages completed in place and exits 130 by itself (not killed by the
// signal).
TEST_F(QueloReportErrors, InterruptCancelsCleanly) {
  const std::vector<std::string> args{QUELO_CLI,   "report", "--csv", csv(200000),  "--app-path",
                                      dir / "app", "--file", "big",   "--max-recs", "200"};
  const auto firstPageBuilt = [&] {
    if (exists(dir / "app/Reports"))
      for (const auto& e : std::filesystem::directory_iterator(dir / "app/Reports"))
        if (exists(e.path() / "big1.htm")) return true;
    return false;
  };
  auto r = runProcessWatched(args, env(), [&](pid_t pid) {
    if (!firstPageBuilt()) return false;
    kill(pid, SIGINT);
    return true;
  });
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 130) << r.err;
  const std::vector<std::string> kept = linesOf(r.out);
  ASSERT_FALSE(kept.empty());
  EXPECT_LT(kept.size(), 1000u);
  EXPECT_EQ(kept.front(), page("big1.htm"));
  for (const std::string& path : kept) EXPECT_TRUE(exists(path)) << path;
  EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace quelo::testing
