// quelo report's printing and --pdf with the real renderer: the printer gets one PDF of the
// rendered pages (never their HTML), --pdf writes the same beside the pages without changing a
// byte of them, and whatever is missing is named; and a real print server (a CUPS scheduler of
// the test's own with a cups-pdf queue) prints every sheet of the job.
#define POINTERHOLDER_TRANSITION 4
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <regex>
#include <set>
#include <thread>

#include "apps/report_cli_fixture.h"
#include "fakes/headless_browser.h"
#include "fakes/recording_program.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> bookmarks(const std::string& pdfFile) {
  QPDF doc;
  doc.processFile(pdfFile.c_str());
  std::vector<std::string> titles;
  for (auto& item : QPDFOutlineDocumentHelper(doc).getTopLevelOutlines())
    titles.push_back(item.getTitle());
  return titles;
}

class CliPrint : public ReportCli {
 protected:
  void SetUp() override {
    QUELO_REQUIRE_CHROMIUM();
    fs::create_directories(dir / "bin");
  }
  // quelo report on the sample data into app/, with bin/ first on PATH; more `vars` on top.
  ProcessResult run(std::vector<std::string> args,
                    std::map<std::string, std::string> vars = {}) const {
    args.insert(args.begin(), {"report", "--app-path", dir / "app", "--quiet"});
    std::map<std::string, std::string> all = env();
    all["PATH"] = dir / "bin:" + std::string(getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin");
    for (auto& [name, value] : vars) all[name] = value;
    return runQuelo(args, all);
  }
  std::string pdfText(const std::string& pdf) const {
    dir.write("text.pdf", pdf);
    return runProcess({"pdftotext", dir / "text.pdf", "-"}).out;
  }
  std::vector<std::string> pages(const ProcessResult& r) const { return linesOf(r.out); }
};

// One run prints and writes the PDF: the printer gets one job of the rendered pages in order
// with every picture, the PDF beside the pages has a bookmark per page, and the pages are those of
// a run that does neither.
TEST_F(CliPrint, ThePrinterAndThePdfGetTheRenderedPagesAndThePagesStayAsTheyWere) {
  ScratchDir bin;
  RecordingProgram lp(bin, "lp", 0, true);
  fs::copy_file(lp.path(), dir / "bin/lp");
  const ProcessResult plain = run({"--file", "plain"});
  const ProcessResult r = run({"--action", "1", "--file", "withpdf", "--pdf"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> a = pages(plain), files = pages(r);
  ASSERT_GT(files.size(), 1u);
  ASSERT_EQ(a.size(), files.size());
  for (size_t i = 0; i < a.size(); ++i) {
    std::string expected = fileText(a[i]);
    for (size_t at; (at = expected.find("plain")) != std::string::npos;)
      expected.replace(at, 5, "withpdf");
    EXPECT_EQ(fileText(files[i]), expected) << files[i];
  }
  EXPECT_FALSE(exists(page("plain.pdf")));
  const std::vector<std::string> marks = bookmarks(page("withpdf.pdf"));
  ASSERT_EQ(marks.size(), files.size());
  EXPECT_EQ(marks.front(), "withpdf1.htm");
  EXPECT_EQ(marks.back(), "withpdf" + std::to_string(files.size()) + ".htm");
  ASSERT_EQ(lp.documents().size(), 1u);
  EXPECT_TRUE(lp.documents()[0] == fileText(page("withpdf.pdf"))) << "the printed PDF is the one";
  const std::string text = pdfText(lp.documents()[0]);
  for (const char* markup : {"<TD", "<TABLE", "BGCOLOR", "<HTML"})
    EXPECT_EQ(text.find(markup), std::string::npos) << markup;
  size_t at = 0;
  for (size_t p = 1; p <= files.size(); ++p) {
    const size_t heading = text.find("Vol " + std::to_string(p) + " of", at);
    ASSERT_NE(heading, std::string::npos) << "page " << p << " in order";
    at = heading;
  }
  EXPECT_NE(text.find("Tea kettle"), std::string::npos) << "the first record";
  std::set<std::string> pictures;
  const std::regex img("<img src = ([^ >]+)");
  for (const std::string& file : files) {
    const std::string html = fileText(file);
    for (std::sregex_iterator m(html.begin(), html.end(), img), end; m != end; ++m)
      pictures.insert((*m)[1]);
  }
  ASSERT_FALSE(pictures.empty());
  const std::string images = runProcess({"pdfimages", "-list", dir / "text.pdf"}).out;
  EXPECT_GE(static_cast<size_t>(std::count(images.begin(), images.end(), '\n')) - 2,
            pictures.size())
      << images;
}

// What cannot be done is a warning that names what is missing; the pages are written and the
// exit status is 0, as --help says.
TEST_F(CliPrint, AMissingRendererOrPrintSystemIsNamed) {
  ScratchDir noPrinter;
  RecordingProgram refusing(noPrinter, "lp", 1);
  struct Case {
    std::vector<std::string> args;
    std::map<std::string, std::string> vars;
    std::string warning;
  } cases[] = {
      {{"--action", "1"},
       {{"PATH", dir / "no-programs"}},
       "quelo: warning: not printed: no HTML renderer: chromium is not installed (Debian package "
       "chromium)"},
      {{"--pdf"},
       {{"QUELO_CHROMIUM", "/nonexistent/chromium"}},
       "quelo: warning: no PDF written: no HTML renderer: /nonexistent/chromium is not installed "
       "(Debian package chromium)"},
      {{"--action", "1"},
       {{"PATH", dir / "bin"}, {"QUELO_CHROMIUM", "/usr/lib/chromium/chromium"}},
       "quelo: warning: not printed: no print system: lp is not installed (Debian package "
       "cups-client)"},
      {{"--action", "1"},
       {{"PATH", noPrinter.path() + ":/usr/bin:/bin"}},
       "quelo: warning: not printed: the print system refused the job: lp failed with exit status "
       "1"},
  };
  for (const Case& c : cases) {
    const ProcessResult r = run(c.args, c.vars);
    EXPECT_EQ(r.exitCode, 0) << c.warning;
    EXPECT_NE(r.err.find(c.warning), std::string::npos) << r.err;
    ASSERT_FALSE(pages(r).empty());
    EXPECT_TRUE(exists(pages(r).front()));
    EXPECT_FALSE(exists(page("autogenrep.pdf")));
  }
}

// Killed while the pages are rendered, a run leaves the pages written and no PDF at all; a
// link or FIFO named as the PDF is neither followed nor waited on.
TEST_F(CliPrint, AKillOrALinkOrFifoLeavesNoPartialPdf) {
  fs::create_directories(dir / "tmp");
  const ProcessResult killed = runProcessWatched(
      {QUELO_CLI, "report", "--app-path", dir / "app", "--quiet", "--pdf"},
      {{"XDG_CONFIG_HOME", dir / "config"}, {"TMPDIR", dir / "tmp"}}, [&](pid_t pid) {
        if (fs::is_empty(dir / "tmp")) return false;
        kill(pid, SIGKILL);
        return true;
      });
  EXPECT_EQ(killed.signal, SIGKILL);
  EXPECT_TRUE(exists(page("autogenrep1.htm")));
  EXPECT_FALSE(exists(page("autogenrep.pdf")));

  dir.write("elsewhere.pdf", "keep");
  fs::create_symlink(dir / "elsewhere.pdf", page("autogenrep.pdf"));
  ASSERT_EQ(mkfifo(page("fifo.pdf").c_str(), 0600), 0);
  for (const char* file : {"autogenrep", "fifo"}) {
    const ProcessResult r = run({"--pdf", "--file", file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("quelo: warning: no PDF written: "), std::string::npos) << r.err;
  }
  EXPECT_EQ(dir.read("elsewhere.pdf"), "keep");
  EXPECT_TRUE(fs::is_fifo(page("fifo.pdf")));
}

// Why the test cannot run here; empty when it can.
std::string whyNot() {
  if (geteuid() != 0) return "a private CUPS scheduler is started as root only";
  for (const char* need :
       {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lp", "/usr/lib/cups/backend/cups-pdf",
        "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"})
    if (!fs::exists(need))
      return std::string(need) +
             " is missing (Debian packages cups, cups-client, printer-driver-cups-pdf)";
  if (chromiumProgram().empty()) return "chromium is not installed";
  return {};
}

// cupsd in the foreground on DIR/cups.sock, stopped and waited for when the object goes.
class PrivateCups {
 public:
  explicit PrivateCups(const ScratchDir& dir) : dir_(dir) {
    for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "state", "log"})
      fs::create_directories(dir / sub);
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    dir.write("etc/cupsd.conf",
              "Listen " + socket() +
                  "\nLogLevel warn\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
    std::string files =  // each % is the scratch folder
        "ServerRoot %etc\nRequestRoot %spool\nTempDir %spool/tmp\nCacheDir %cache\n"
        "StateDir %state\nErrorLog %log/error_log\nAccessLog %log/access_log\nPageLog "
        "%log/page_log\n";
    for (size_t at; (at = files.find('%')) != std::string::npos;) files.replace(at, 1, dir.path());
    dir.write("etc/cups-files.conf", files);
    pid_ = fork();
    if (pid_ == 0) {
      execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (dir / "etc/cupsd.conf").c_str(), "-s",
            (dir / "etc/cups-files.conf").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && !fs::exists(socket()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ~PrivateCups() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  std::string socket() const { return dir_ / "cups.sock"; }

 private:
  const ScratchDir& dir_;
  pid_t pid_ = -1;
};

TEST(CupsPrint, ThePrintedDocumentShowsTheReportsValues) {
  if (const std::string why = whyNot(); !why.empty()) GTEST_SKIP() << why;
  ScratchDir dir, app;
  PrivateCups cups(dir);
  const std::map<std::string, std::string> env{{"CUPS_SERVER", cups.socket()},
                                               {"XDG_CONFIG_HOME", dir / "config"}};
  ASSERT_EQ(runProcess({"lpadmin", "-p", "quelotest", "-E", "-v", "cups-pdf:/", "-P",
                        "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"},
                       env)
                .exitCode,
            0);
  ASSERT_EQ(runProcess({"lpadmin", "-d", "quelotest"}, env).exitCode, 0);
  // cups-pdf writes into the PDF folder of the job's owner (its configuration is the system's).
  const std::string title = "quelocups" + std::to_string(getpid());
  const ProcessResult r = runQuelo(
      {"report", "--app-path", app.path(), "--quiet", "--action", "1", "--file", title}, env);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const fs::path out = fs::path(getpwuid(0)->pw_dir) / "PDF";
  fs::path printed;
  for (int i = 0; i < 600 && printed.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::error_code ignored;
    for (const auto& e : fs::directory_iterator(out, ignored))
      if (e.path().filename().string().starts_with(title)) printed = e.path();
  }
  ASSERT_FALSE(printed.empty()) << "nothing came out of the queue into " << out;
  std::this_thread::sleep_for(std::chrono::seconds(1));  // written to its end
  const std::string job = dir / "spool/d00001-001";  // the document of the first job, as spooled
  auto sheets = [](const std::string& pdf) {
    const std::string info = runProcess({"pdfinfo", pdf}).out;
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
  };
  const int printedSheets = sheets(printed.string());
  fs::remove(printed);
  EXPECT_EQ(printedSheets, sheets(job));
  const std::string text = runProcess({"pdftotext", job, "-"}).out;
  EXPECT_NE(text.find("Tea kettle"), std::string::npos) << text;
  EXPECT_NE(text.find("Vol 1 of"), std::string::npos) << text;
  EXPECT_EQ(text.find("<TD"), std::string::npos) << text;
}

}  // namespace
}  // namespace quelo::testing
