#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fakes/plain_desktop.h"
#include "platform/posix/desktop_entry.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/process.h"

namespace quelo {
namespace {

using testing::PlainDesktop;
using testing::RecordingProgram;
using Calls = std::vector<std::vector<std::string>>;

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

TEST(PosixShell, AProgramGetsTheTargetAsOneInertArgument) {
  testing::ScratchDir dir;
  RecordingProgram browser(dir, "browser");
  PosixShell shell;
  const std::string hostile = "$(touch " + dir / "pwned" + "); `touch " + dir / "pwned2" + "`";
  ASSERT_TRUE(shell.start(browser.path(), hostile).isOk());
  ASSERT_TRUE(shell.start(browser.path(), "-h").isOk());
  ASSERT_TRUE(shell.start(browser.path(), "https://example.com/a b?c=1&d=2").isOk());
  EXPECT_EQ(browser.calls(), (Calls{{hostile}, {"./-h"}, {"https://example.com/a b?c=1&d=2"}}));  // never run: see RunProcess
}

TEST(PosixShell, FailuresAreReportedAsTheyHappened) {
  testing::ScratchDir dir;
  RecordingProgram failing(dir, "failing", 3);
  PosixShell shell;
  Status missing = shell.start(dir / "no-such-browser", "x");
  EXPECT_EQ(missing.error().number, err::kFileNotFound);
  EXPECT_NE(missing.error().message.find("no-such-browser"), std::string::npos);
  Status failed = shell.start(failing.path(), "x");
  EXPECT_FALSE(failed.isOk());
  EXPECT_NE(failed.error().message.find("exit status 3"), std::string::npos);
  EXPECT_FALSE(shell.start("", "x").isOk());
  EXPECT_FALSE(shell.start(failing.path(), "  ").isOk());
  EXPECT_EQ(failing.calls().size(), 1u) << "an empty target starts nothing";
}

TEST(PosixShell, WebAddressesAndMailGoThroughTheXdgUtilities) {
  PlainDesktop desktop;
  PosixShell shell;
  ASSERT_TRUE(shell.open("https://example.com/a?b=1").isOk());
  ASSERT_TRUE(shell.composeMail("mailto:x@y.org").isOk());
  EXPECT_FALSE(shell.open(desktop.dir / "missing.html").isOk()) << "xdg-open reports a missing file";
  EXPECT_FALSE(shell.open("-h").isOk()) << "'./-h' is a file that is not there";
  EXPECT_EQ(desktop.browser.calls(), (Calls{{"https://example.com/a?b=1"}, {"mailto:x@y.org"}}));
}

// lp gets a private copy of the document, named by the job's title, and the copy goes once lp
// has ended; lp missing or refusing the job is an error that says which.
TEST(PosixShell, PrintingHandsLpAPrivateCopyOfTheDocument) {
  testing::ScratchDir bin, tmp;
  testing::ScopedEnv env;
  const char* path = getenv("PATH");
  env.set("PATH", bin.path() + ":" + (path ? path : "/usr/bin:/bin")).set("TMPDIR", tmp.path());
  PosixShell shell;
  {
    RecordingProgram lp(bin, "lp", 0, true);
    ASSERT_TRUE(shell.printPdf("%PDF-1.4 report", "-report.pdf").isOk());
    ASSERT_EQ(lp.calls().size(), 1u);
    EXPECT_EQ(lp.calls()[0][0], "-t");
    EXPECT_EQ(lp.calls()[0][1], "-report.pdf");
    EXPECT_EQ(lp.calls()[0][2].rfind(tmp.path() + "quelo-print-", 0), 0u) << lp.calls()[0][2];
    EXPECT_EQ(lp.documents(), std::vector<std::string>{"%PDF-1.4 report"});
    EXPECT_FALSE(exists(lp.calls()[0][2]));
  }
  RecordingProgram refusing(bin, "lp", 1);
  EXPECT_NE(shell.printPdf("%PDF", "r.pdf").error().message.find("refused the job"), std::string::npos);
  env.set("PATH", tmp.path());
  EXPECT_EQ(shell.printPdf("%PDF", "r.pdf").error().message,
            "no print system: lp is not installed (Debian package cups-client)");
}

TEST(PosixShell, TheDefaultBrowserIsBrowserOrTheHtmlHandlersDesktopEntry) {
  PlainDesktop desktop;
  desktop.env.unset("BROWSER").set("XDG_DATA_DIRS", desktop.dir / "none").set("XDG_CONFIG_DIRS", desktop.dir / "none");
  PosixShell shell;
  EXPECT_EQ(shell.defaultBrowser().error().number, err::kFileNotFound) << "none is set";

  for (const char* d : {"config", "data", "data/applications"}) mkdir((desktop.dir / d).c_str(), 0700);
  desktop.dir.write("config/mimeapps.list", "[Default Applications]\ntext/html=test-browser.desktop\n");
  // (xdg-mime itself only accepts an entry whose first word is an installed program.)
  desktop.dir.write("data/applications/test-browser.desktop",
                    "[Desktop Entry]\nType=Application\nName=Test\nExec=env QUELO=1 " + desktop.browser.path() + " %u\n");
  auto program = shell.defaultBrowser();
  ASSERT_TRUE(program.isOk()) << program.error().message;
  EXPECT_EQ(program.value(), desktop.browser.path());
  desktop.env.set("BROWSER", "  my-browser %s:other-browser");
  EXPECT_EQ(shell.defaultBrowser().value(), "my-browser") << "$BROWSER comes first";
}

// The program is the first word of the main group's Exec key (after env and its settings), with
// the entry's quoting and escapes undone.
TEST(DesktopEntry, TheProgramIsTheFirstWordOfTheMainExec) {
  const std::pair<const char*, const char*> cases[] = {
      {"[Desktop Entry]\nName=B\nExec=/usr/bin/browser %u\n", "/usr/bin/browser"},
      {"[Desktop Entry]\r\nExec = browser\r\n", "browser"},
      {"[Desktop Entry]\nExec=env A=1 B=\"x y\" /opt/b/run --new %U\n", "/opt/b/run"},
      {"[Desktop Entry]\nExec=\"/opt/my \\\\\"b\\\\\"/run\" %u\n", "/opt/my \"b\"/run"},
      {"[Desktop Entry]\nExec=\"/opt/with\\sspace\" %u\n", "/opt/with space"},
      {"[Desktop Entry]\nExec=/opt/with\\sspace %u\n", "/opt/with"},
      {"[Desktop Action new]\nExec=other\n[Desktop Entry]\nExec[de]=x\nExecute=y\n", ""},
      {"[Desktop Entry]\nExec[de]=x\nExec=right\n[Desktop Action new]\nExec=other\n", "right"},
      {"", ""},
      {"[Desktop Entry]\nExec=\n", ""},
  };
  for (const auto& [entry, program] : cases) EXPECT_EQ(desktopEntryProgram(entry), program) << entry;
}

TEST(DesktopEntry, EntriesAreFoundInTheDataFolders) {
  testing::ScratchDir dir;
  testing::ScopedEnv env;
  env.set("XDG_DATA_HOME", dir / "home").set("XDG_DATA_DIRS", dir / "one:" + dir / "two");
  for (const char* d : {"home", "one", "two", "home/applications", "two/applications"}) mkdir((dir / d).c_str(), 0700);
  dir.write("two/applications/b.desktop", "[Desktop Entry]\n");
  EXPECT_EQ(findDesktopEntry("b.desktop"), dir / "two/applications/b.desktop");
  dir.write("home/applications/b.desktop", "[Desktop Entry]\n");
  EXPECT_EQ(findDesktopEntry("b.desktop"), dir / "home/applications/b.desktop");
  EXPECT_EQ(findDesktopEntry("c.desktop"), "");
  EXPECT_EQ(findDesktopEntry("../applications/b.desktop"), "");
}


using namespace std::chrono_literals;

ProcessOptions capturing() {
  ProcessOptions o;
  o.captureOutput = true;
  return o;
}

TEST(RunProcess, ReportsOutputAndExitStatusInTheCallersEnvironment) {
  auto r = runProcess({"sh", "-c", "printf 'a b'; exit 3"}, capturing());
  ASSERT_TRUE(r.isOk()) << r.error().message;
  EXPECT_TRUE(r.value().finished);
  EXPECT_EQ(r.value().output, "a b");
  EXPECT_EQ(r.value().exitStatus, 3);
  EXPECT_EQ(runProcess({"sh", "-c", "kill -TERM $$"}, capturing()).value().exitStatus, 128 + 15);
  auto launched = runProcess({"sh", "-c", "exit 4"}, ProcessOptions{});  // without capture too
  ASSERT_TRUE(launched.isOk());
  EXPECT_TRUE(launched.value().finished);
  EXPECT_EQ(launched.value().exitStatus, 4);

  ProcessOptions o = capturing();  // the environment and working folder are the caller's
  testing::ScratchDir dir;
  o.environment = {"PATH=/usr/bin:/bin", "QUELO_PROBE=probe value"};
  o.workingDirectory = dir.path();
  auto in = runProcess({"sh", "-c", "printf '%s|%s' \"$QUELO_PROBE\" \"$(pwd)/\""}, o);
  ASSERT_TRUE(in.isOk()) << in.error().message;
  EXPECT_EQ(in.value().output, "probe value|" + dir.path());
}

TEST(RunProcess, ArgumentsAreNeverInterpreted) {
  testing::ScratchDir dir;
  const std::string hostile = "$(touch " + dir / "a" + "); `touch " + dir / "b" + "` | touch " + dir / "c";
  auto r = runProcess({"printf", "%s|", hostile, "a b", "*", "-h"}, capturing());
  ASSERT_TRUE(r.isOk());
  EXPECT_EQ(r.value().output, hostile + "|a b|*|-h|");
  for (const char* name : {"a", "b", "c"}) EXPECT_EQ(access((dir / name).c_str(), F_OK), -1) << name;
}

TEST(RunProcess, AMissingProgramIsAnError) {
  for (const ProcessOptions& o : {ProcessOptions{}, capturing()}) {
    auto r = runProcess({"quelo-no-such-program", "x"}, o);
    ASSERT_FALSE(r.isOk());
    EXPECT_EQ(r.error().number, err::kFileNotFound);
    EXPECT_NE(r.error().message.find("quelo-no-such-program"), std::string::npos);
  }
  EXPECT_FALSE(runProcess({}, ProcessOptions{}).isOk());
  EXPECT_FALSE(runProcess({"printf", std::string("a\0b", 3)}, capturing()).isOk());
}

// A handler that keeps running (a browser started by it) counts as started; a captured run that
// does not end is stopped and reported.
TEST(RunProcess, ProgramsStillRunningAtTheLimit) {
  ProcessOptions launch;
  launch.waitLimit = 100ms;
  auto r = runProcess({"sleep", "2"}, launch);
  ASSERT_TRUE(r.isOk());
  EXPECT_FALSE(r.value().finished);

  ProcessOptions capture = capturing();
  capture.waitLimit = 100ms;
  auto c = runProcess({"sleep", "5"}, capture);
  ASSERT_FALSE(c.isOk());
  EXPECT_NE(c.error().message.find("did not finish"), std::string::npos);
}
}  // namespace
}  // namespace quelo
