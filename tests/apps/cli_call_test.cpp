// The quelo command, quelo call and quelo describe as scripts see them: stdout, stderr and the
// exit status; the file-name members and LogMessage on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include "fakes/run_process.h"
#include "report_cli_fixture.h"

namespace quelo::testing {
namespace {

TEST(QueloCommandLine, OutputAndExitStatus) {
  const std::string version = std::string("quelo ") + QUELO_VERSION + "\n";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out;  // all of stdout
    std::string err;  // where stderr holds it ("" when stderr is empty)
    std::map<std::string, std::string> env = {};
  } cases[] = {
      {{"--version"}, 0, version, ""},
      {{"-V"}, 0, version, ""},
      {{"call", "MaxRecsPerPage", "--", "Interval", "--", "DoTimer", "--", "Tag", "--", "BackColor",
        "--", "Enabled"},
       0,
       "10\n0\nFalse\n\n16777088\nTrue\n",
       ""},
      // Written properties and by-reference arguments are shown.
      {{"call", "ApplicationPath=  /srv/data  ", "--", "maxrecsperpage=s:7", "--", "MaxRecsPerPage",
        "--", "ProgramDelayNSec", "~", "--", "Tag=s:42", "--", "Tag"},
       0,
       "ApplicationPath=/srv/data/\nMaxRecsPerPage=7\n7\n42\n",
       ""},
      {{"call", "--design", "--app-path", "/tmp/x", "ApplicationPath"}, 0, "/tmp/x/\n", ""},
      // A raised error goes to stderr and stops the invocations after it.
      {{"call", "ApplicationPath", "--", "Tag"}, 1, "", "error 393: "},
      {{"call", "NoSuchMember"}, 1, "", "error 438"},
      {{"call", "Interval=abc"}, 1, "", "error 13"},
      // A bare ~ reaches quelo as the home folder: the call fails as it must, and stderr says why.
      {{"call", "ProgramDelayNSec", "/home/someone"},
       1,
       "",
       "was given String\nnote: the shell turned a bare ~ into /home/someone; write '~'",
       {{"HOME", "/home/someone"}}},
      // A usage error points to the help of its command.
      {{"call"}, 2, "", "(see 'quelo call --help')"},
      {{"call", "Tag", "--"}, 2, "", "(see 'quelo call --help')"},
      {{"call", "--bogus", "Tag"}, 2, "", "(see 'quelo call --help')"},
      {{"call", "--app-path"}, 2, "", "(see 'quelo call --help')"},
      {{"call", "Tag=1", "extra"}, 2, "", "(see 'quelo call --help')"},
      {{"describe", "--bogus"}, 2, "", "(see 'quelo describe --help')"},
      {{"describe", "--xml"}, 2, "", "(see 'quelo describe --help')"},
      {{"frobnicate"}, 2, "", "(see 'quelo --help')"},
      {{}, 2, "", "usage: quelo COMMAND"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "quelo" : c.args.back());
    const ProcessResult r = runQuelo(c.args, c.env);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(r.out, c.out);
    if (c.err.empty())
      EXPECT_EQ(r.err, "");
    else
      EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(runQuelo({"call", "--help"}).exitCode, 0);
}

TEST(QueloDescribe, TextAndJsonDescribeMembersAndTheirArguments) {
  const ProcessResult json = runQuelo({"describe", "--json"}), text = runQuelo({"describe"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  for (const char* part :
       {"\"Sets\\\\Returns a text expression",  // a help string's backslash, escaped
        "{\"name\": \"N\", \"type\": \"Long\", \"byRef\": true, \"optional\": true, \"default\": "
        "5}"})
    EXPECT_NE(json.out.find(part), std::string::npos) << part;
  for (const char* part : {"method ProgramDelayNSec(Optional ByRef N As Long = 5)", "[hidden]"})
    EXPECT_NE(text.out.find(part), std::string::npos) << part;
}

// On Linux a drive is a folder of that name: "C:" in the current folder holds the tree (the
// command runs in that folder through env -C). A path of 40,000 components (80 KB) is longer than
// the system takes: it names nothing, each of its components adds an empty name, and the lookup
// needs little memory.
TEST(CallFileNames, LongAndShortNamesOnARealTreeAndPastTheSystemsLimit) {
  ScratchDir dir;
  for (const char* folder : {"C:/Program Files", "C:/Data", "Data", "Deep"})
    std::filesystem::create_directories(dir / folder);
  for (const char* file : {"C:/Program Files/My Document.txt", "C:/Data/x.txt", "Data/x.txt"})
    dir.write(file, "x");
  auto run =
      runProcess({"env", "-C", dir.path(), QUELO_CLI, "call", "LongFileName",
                  "C:\\PROGRAM FILES\\MY DOCUMENT.TXT", "--", "LongFileName", "C:DATA\\X.TXT", "--",
                  "LongFileName", "data\\x.txt", "--", "ShortFileName", "C:\\Data\\x.txt"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(linesOf(run.out),
            (std::vector<std::string>{"C:\\Program Files\\My Document.txt", "C:\\Data\\x.txt",
                                      "\\Data\\x.txt", "C:\\Data\\x.txt"}));
  std::string deep = dir / "DEEP";
  for (int i = 0; i < 40000; ++i) deep += "/x";
  run = runProcess(
      inLittleMemory({QUELO_CLI, "call", "ShortFileName", deep, "--", "LongFileName", deep}));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.out == "\n" + dir / "Deep" + std::string(40000, '/') + "\n")
      << run.out.substr(0, 200);
}

// 100 LogMessage calls of one process, each message tagged with the process and the call.
std::vector<std::string> messagesOf(const std::string& appPath, char who) {
  std::vector<std::string> args{"call", "--app-path", appPath};
  for (int i = 0; i < 100; ++i) {
    if (i > 0) args.push_back("--");
    args.push_back("LogMessage");
    args.push_back(std::string(1, who) + std::to_string(i) + " " + std::string(120, who));
  }
  return args;
}

TEST(CallLogMessage, TwoProcessesLoggingAtOnceLeaveWholeDatedLines) {
  ScratchDir dir;
  const std::map<std::string, std::string> env{{"SOURCE_DATE_EPOCH", "1236434709"}, {"TZ", "UTC"}};
  ProcessResult a, b;
  std::thread first([&] { a = runQuelo(messagesOf(dir.path(), 'a'), env); });
  std::thread second([&] { b = runQuelo(messagesOf(dir.path(), 'b'), env); });
  first.join();
  second.join();
  ASSERT_EQ(a.exitCode, 0) << a.err;
  ASSERT_EQ(b.exitCode, 0) << b.err;
  EXPECT_EQ(a.out + b.out, "");

  const std::string log = dir.read("Reports/Log/ZeMessages.htm");
  ASSERT_TRUE(log.starts_with("\xEF\xBB\xBF"));
  const auto all = linesOf(log.substr(3));
  ASSERT_EQ(all.size(), 200u);
  const std::regex whole(
      R"re("<HTML><HEAD><TITLE> : Appended ZeQuelo Message Log </TITLE></HEAD><BODY><H2> At )re"
      R"re(2009-03-07 14:05:09 </H2><P> ([ab]\d+)&nbsp;(a{120}|b{120}) </P></BODY></HTML>"\r)re");
  std::set<std::string> seen;
  for (const std::string& line : all) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, whole)) << line;
    EXPECT_EQ(m[1].str()[0], m[2].str()[0]);
    EXPECT_TRUE(seen.insert(m[1]).second) << m[1];
  }
}

}  // namespace
}  // namespace quelo::testing
