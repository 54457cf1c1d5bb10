// quelo report on real data: the pages it writes and prints, cancelling by page, the settings
// and field choices it hands to the report, and the bundled sample data.
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <tuple>

#include "platform/file_system.h"
#include "platform/picture_size.h"
#include "fakes/sqlite_file.h"
#include "report_cli_fixture.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::testing {
namespace {

class QueloReport : public ReportCli {
 protected:
  std::vector<std::string> csvArgs(std::vector<std::string> more = {}, const std::string& file = "name") const {
    std::vector<std::string> args{"--csv",  csv(23), "--app-path", dir / "app",
                                  "--file", file,    "--max-recs", "10"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
};

// The pages written are printed in order, and only those: cancelling at a page keeps the pages
// before it, or none with --delete-on-cancel; past the last page it cancels nothing. stderr is no
// terminal: no progress bar.
TEST_F(QueloReport, PrintsThePagesItKeeps) {
  const std::tuple<std::string, std::vector<std::string>, int> cases[] = {  // --file, more options, pages kept
      {"all", {}, 3},
      {"gone", {"--cancel-at-page", "2", "--delete-on-cancel"}, 0},
      {"cut", {"--cancel-at-page", "2"}, 1},
      {"beyond", {"--cancel-at-page", "4", "--delete-on-cancel"}, 3},
  };
  std::set<std::string> kept;
  for (const auto& [file, more, pages] : cases) {
    SCOPED_TRACE(file);
    auto r = report(csvArgs(more, file));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<std::string> listed;
    for (int i = 1; i <= pages; ++i) listed.push_back(page(file + std::to_string(i) + ".htm"));
    EXPECT_EQ(linesOf(r.out), listed);
    kept.insert(listed.begin(), listed.end());
    std::set<std::string> there;
    for (const auto& e : std::filesystem::directory_iterator(dir / "app/Reports")) there.insert(e.path());
    EXPECT_EQ(there, kept);
  }
  const std::string last = dir.read("app/Reports/all3.htm");
  EXPECT_NE(last.find("Item&nbsp;23<"), std::string::npos);
  EXPECT_NE(last.find("Vol 3 of Auto-Generated Report"), std::string::npos);
  EXPECT_EQ(dir.read("app/Reports/all1.htm").find("Item&nbsp;11<"), std::string::npos);
}

// Under a terminal (script(1) gives the command one) stderr shows the bar, redrawn in place,
// ending at every page done; --quiet keeps it away.
TEST_F(QueloReport, DrawsProgressOnATerminalUnlessQuiet) {
  const std::string command = std::string(QUELO_CLI) + " report --csv " + csv(23) + " --app-path " + dir / "app" +
                              " --max-recs 10 --file ";
  auto shown = runProcess({"script", "-qec", command + "shown", "/dev/null"}, env());
  EXPECT_EQ(shown.exitCode, 0) << shown.out;
  EXPECT_NE(shown.out.find("\r[----------"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("]  3/3 pages  "), std::string::npos) << shown.out;
  auto quiet = runProcess({"script", "-qec", command + "quiet --quiet", "/dev/null"}, env());
  EXPECT_EQ(quiet.exitCode, 0) << quiet.out;
  EXPECT_EQ(quiet.out.find("pages"), std::string::npos) << quiet.out;
  EXPECT_NE(quiet.out.find(page("quiet3.htm")), std::string::npos) << quiet.out;
}

// A CSV file and options: the one page written shows (and hides) what the options ask for. Each
// report runs twice with --replace: the second run's page is the first's, not both runs'.
TEST_F(QueloReport, OptionsShowOnTheOnePageWritten) {
  dir.write("edge.csv",
            "Name,Price\nTop,1.7976931348623157e308\nBottom,-1.7976931348623157e308\n"
            "Top,1.7976931348623157e308\n");
  dir.write("semi.csv", "Name;Price\nKettle;3,5\n");
  const struct {
    std::vector<std::string> args, shown, hidden = {};
  } cases[] = {
      {{"--csv", csv(23), "--title", "Stock", "--setting", "Ra_Header=Quarterly stock",
        "--setting=Ra_Footer=Closing words", "--field", "Quantity=0", "--field", "Price=2", "--max-recs=30"},
       {"Quarterly stock", "<EM> Closing words</EM>", "Vol 1 of Stock", "<TH>Price</TH>", "Sum of Price = "},
       {"<TH>Quantity</TH>"}},
      {{"--csv", dir / "edge.csv", "--field", "Price=2"}, {"Sum of Price = 1.79769313486231E+308"}},
      {{"--csv", dir / "semi.csv", "--delimiter", ";"}, {"<TH>Price</TH>", ">3,5</TD>"}},
  };
  for (auto [args, shown, hidden] : cases) {
    SCOPED_TRACE(args[1]);
    args.insert(args.end(), {"--app-path", dir / "app", "--file", "one", "--replace"});
    ASSERT_EQ(report(args).exitCode, 0);
    const std::string first = dir.read("app/Reports/one.htm");
    auto r = report(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(linesOf(r.out), std::vector<std::string>{page("one.htm")});
    const std::string html = dir.read("app/Reports/one.htm");
    EXPECT_EQ(html, first);  // the earlier report is gone, not appended to
    for (const std::string& text : shown) EXPECT_NE(html.find(text), std::string::npos) << text;
    for (const std::string& text : hidden) EXPECT_EQ(html.find(text), std::string::npos) << text;
  }
}

// Where a rule changes what was typed, one note on stderr says what came of it; what is taken as
// typed gets none. The pages are those the note names.
TEST_F(QueloReport, ANoteSaysWhenARuleChangesWhatWasTyped) {
  const std::string wide = dir / "wide.csv";
  std::filesystem::copy_file(csv(3000), wide);
  const std::string narrow = csv(23);
  const struct {
    std::vector<std::string> args;
    std::string firstPage, note;
  } cases[] = {
      {{"--csv", wide, "--max-recs", "20", "--file", "big"}, "big1.htm",
       "--max-recs 20 gives 150 pages; reports of more than 100 pages get 200 records a page"},
      {{"--csv", wide, "--max-recs", "500", "--file", "big"}, "big1.htm", ""},
      {{"--csv", narrow, "--file", "Sales.HTM"}, "sales1.htm1.htm",
       "--file \"Sales.HTM\" gives sales1.htm1.htm, sales2.htm2.htm ...: .htm or .asp counts as the extension in "
       "lower case only, so .htm was added"},
      {{"--csv", narrow, "--file", "a b", "--max-recs", "30"}, "zereport.htm",
       "--file \"a b\" gives zereport.htm: a name with a blank is taken only as a file of that name in the current "
       "folder, and there is none"},
      {{"--csv", narrow, "--file", "out/Sales.htm", "--max-recs", "20"}, "sales1.htm1.htm",
       "--file \"out/Sales.htm\" gives sales1.htm1.htm, sales2.htm2.htm: only the part after the last folder is "
       "kept, in capitals, and .htm or .asp counts as the extension in lower case only"},
      {{"--csv", narrow, "--file", " ", "--max-recs", "30"}, "autogenrep.htm",
       "--file \" \" gives autogenrep.htm: a blank name gives the default name"},
      {{"--csv", narrow, "--file", "SALES", "--max-recs", "23"}, "sales.htm", ""},
      {{"--csv", narrow, "--file", "r.html"}, "r1.html", ""},
  };
  for (auto [args, firstPage, note] : cases) {
    SCOPED_TRACE(args[2] + " " + args[3]);
    args.insert(args.end(), {"--app-path", dir / "app", "--replace"});
    auto r = report(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, note.empty() ? "" : "quelo: note: " + note + "\n");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(linesOf(r.out).front(), page(firstPage));
  }
}

// A spreadsheet's export in Windows-1252 piped in: standard input is read once, decoded, and its
// records make the pages.
TEST_F(QueloReport, ReadsStandardInputInTheEncodingNamed) {
  std::string export1252 = "Name;Price\n";
  for (int i = 1; i <= 12; ++i) export1252 += "\x93Kettle " + std::to_string(i) + "\x94 12\" pipe;\x80" + std::to_string(i) + "\n";
  auto r = runProcess({QUELO_CLI, "report", "--csv", "-", "--encoding", "WINDOWS-1252", "--delimiter", ";", "--app-path",
                       dir / "app", "--file", "piped", "--max-recs", "5", "--quiet"},
                      env(), export1252);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(linesOf(r.out), (std::vector<std::string>{page("piped1.htm"), page("piped2.htm"), page("piped3.htm")}));
  const std::string last = dir.read("app/Reports/piped3.htm");
  EXPECT_NE(last.find("\u201CKettle&nbsp;12\u201D&nbsp;12\"&nbsp;pipe<"), std::string::npos) << last;
  EXPECT_NE(last.find(">\u20AC" "12</TD>"), std::string::npos) << last;
}

TEST_F(QueloReport, NoFieldOutputWritesNothingAndSaysSo) {
  auto r = report(csvArgs({"--field", "Name=0", "--field", "Price=0", "--field", "Quantity=-1"}));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("no field is output"), std::string::npos) << r.err;
}

TEST_F(QueloReport, SqliteQueryAndRelativePictureFolder) {
  const std::string db = dir / "shop.db";
  sqlExec(db, "CREATE TABLE t (Name VARCHAR(20), Photo VARCHAR(20), Link TEXT);"
              "INSERT INTO t VALUES ('Kettle', 'k.png', '#https://example.com/k#'), ('Pan', 'none.png', 'Mail#sales@example.com#');");
  std::filesystem::create_directories(dir / "pics");
  dir.write("pics/k.png", "x");
  auto r = runProcess(
      {"env", "-C", dir.path(), QUELO_CLI, "report", "--sqlite", db, "--query", "SELECT * FROM t",
       "--app-path", "app", "--pic-fields", "Photo", "--graphic-folder", "pics"},
      env());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "quelo: warning: picture of field Photo missing: " + dir.path() + "pics/none.png\n");
  ASSERT_EQ(linesOf(r.out), std::vector<std::string>{page("autogenrep.htm")});
  const std::string html = dir.read("app/Reports/autogenrep.htm");
  EXPECT_NE(html.find("<img src = " + dir.path() + "pics/k.png"), std::string::npos);
  EXPECT_NE(html.find("<A HREF='https://example.com/k'>https://example.com/k</A>"),
            std::string::npos);
  EXPECT_NE(html.find("<A HREF='Mail'>Mail</A>"), std::string::npos);
}

// A picture cell naming a FIFO that nobody writes to, or reaching /dev/zero, is no picture: the
// report neither waits for it nor fills memory with it, and does not copy it, nor wait for a FIFO
// planted among the copies; a picture larger than the run's memory is copied in pieces. A run still going after two minutes hangs: it is stopped, so that the
// test fails rather than waits for ever.
TEST_F(QueloReport, PicturesThatAreNoFilesHoldNothingUp) {
  std::filesystem::create_directories(dir / "pics");
  std::filesystem::create_directories(dir / "app/Reports/pictures");
  dir.plantNonFiles("pics/");
  dir.plantNonFiles("app/Reports/pictures/");
  std::filesystem::rename(dir / "app/Reports/pictures/fifo", dir / "app/Reports/pictures/photo.png");
  dir.write("pics/photo.png", "\x89PNG\r\n\x1A\nphoto");
  dir.write("pics/big.png", "\x89PNG\r\n\x1A\n");
  std::filesystem::resize_file(dir / "pics/big.png", size_t{600} << 20);  // more than the run's memory
  dir.write("pictures.csv", "Name,Photo\nPipe,fifo\nZero,zero\nDevice,../../../../../../../../../../../../dev/zero\n"
                            "Photo,photo.png\nBig,big.png\n");
  for (const bool copy : {false, true}) {
    SCOPED_TRACE(copy);
    std::vector<std::string> args{QUELO_CLI, "report", "--csv", dir / "pictures.csv", "--app-path", dir / "app",
                                  "--pic-fields", "Photo", "--graphic-folder", dir / "pics"};
    if (copy) args.push_back("--copy-pictures");
    const auto start = std::chrono::steady_clock::now();
    auto r = runProcessWatched(inLittleMemory(args), env(), [&](pid_t pid) {
      if (std::chrono::steady_clock::now() - start < std::chrono::minutes(2)) return false;
      kill(pid, SIGKILL);
      return true;
    });
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(linesOf(r.out), std::vector<std::string>{page("autogenrep.htm")});
    if (!copy) continue;
    EXPECT_EQ(linesOf(r.err).size(), 3u) << r.err;
    for (const std::string& refused : {"Not a regular file '" + dir / "pics/fifo'", "Cannot read '" + dir / "pics/zero': it is a symbolic link",
                                      "Not a regular file '" + dir / "pics/../../../../../../../../../../../../dev/zero'"})
      EXPECT_NE(r.err.find("quelo: warning: picture of field Photo not copied: " + refused), std::string::npos) << refused;
    EXPECT_EQ(dir.read("app/Reports/pictures/photo-2.png"), dir.read("pics/photo.png"));
    EXPECT_EQ(std::filesystem::file_size(dir / "app/Reports/pictures/big.png"), size_t{600} << 20);
    EXPECT_NE(dir.read("app/Reports/autogenrep.htm").find("<img src = pictures/photo-2.png"), std::string::npos);
  }
}

TEST_F(QueloReport, SampleDataWithNoSource) {
  auto r = report({"--app-path", dir / "app"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> pages = linesOf(r.out);
  ASSERT_EQ(pages.size(), 4u);  // 36 products, 10 a page
  EXPECT_EQ(pages.front(), page("autogenrep1.htm"));
  const std::string first = dir.read("app/Reports/autogenrep1.htm");
  const std::string pictures = std::string(QUELO_TEST_SAMPLE_DIR) + "pictures/";  // where the build wrote it
  EXPECT_NE(first.find("<img src = " + pictures + "tea-kettle.png"), std::string::npos);
  EXPECT_NE(first.find("<A HREF='https://shop.example.com/tea-kettle'>"), std::string::npos);
  EXPECT_NE(first.find("Sum of Price"), std::string::npos);
  PosixFileSystem files;
  EXPECT_EQ(pictureSize(files, pictures + "tea-kettle.png"), (PixelSize{64, 64}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pictures), {}), 36);
}

}  // namespace
}  // namespace quelo::testing
