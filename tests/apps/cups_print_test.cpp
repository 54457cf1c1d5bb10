// quelo report --action 1 through a real print server: a CUPS scheduler of the test's own, on a
// private configuration and socket, with a cups-pdf queue as its default printer. The job the
// scheduler took shows the report's values, and the queue printed every sheet of it. (The queue
// prints through PostScript, whose fonts keep no text to read back: the sheets are counted.)
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "apps/report_cli_fixture.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

// Why the test cannot run here; empty when it can.
std::string whyNot() {
  if (geteuid() != 0) return "a private CUPS scheduler is started as root only";
  for (const char* need :
       {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lp", "/usr/lib/cups/backend/cups-pdf",
        "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"})
    if (!fs::exists(need))
      return std::string(need) +
             " is missing (Debian packages cups, cups-client, printer-driver-cups-pdf)";
  if (runProcess({"sh", "-c", "command -v chromium"}).exitCode != 0)
    return "chromium is not installed";
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
    std::string files;
    for (const auto& [key, sub] : {std::pair{"ServerRoot", "etc"},
                                   {"RequestRoot", "spool"},
                                   {"TempDir", "spool/tmp"},
                                   {"CacheDir", "cache"},
                                   {"StateDir", "state"},
                                   {"ErrorLog", "log/error_log"},
                                   {"AccessLog", "log/access_log"},
                                   {"PageLog", "log/page_log"}})
      files += std::string(key) + " " + dir / sub + "\n";
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
