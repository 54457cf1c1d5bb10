// The quelo command, quelo call and quelo describe as scripts see them: stdout, stderr and the
// exit status.
#include <gtest/gtest.h>

#include "fakes/run_process.h"

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
      {{"call", "MaxRecsPerPage", "--", "Interval", "--", "DoTimer", "--", "Tag", "--", "BackColor", "--", "Enabled"},
       0, "10\n0\nFalse\n\n16777088\nTrue\n", ""},
      // Written properties and by-reference arguments are shown.
      {{"call", "ApplicationPath=  /srv/data  ", "--", "maxrecsperpage=s:7", "--", "MaxRecsPerPage", "--",
        "ProgramDelayNSec", "~", "--", "Tag=s:42", "--", "Tag"},
       0, "ApplicationPath=/srv/data/\nMaxRecsPerPage=7\n7\n42\n", ""},
      {{"call", "--design", "--app-path", "/tmp/x", "ApplicationPath"}, 0, "/tmp/x/\n", ""},
      // A raised error goes to stderr and stops the invocations after it.
      {{"call", "ApplicationPath", "--", "Tag"}, 1, "", "error 393: "},
      {{"call", "NoSuchMember"}, 1, "", "error 438"},
      {{"call", "Interval=abc"}, 1, "", "error 13"},
      // A bare ~ reaches quelo as the home folder: the call fails as it must, and stderr says why.
      {{"call", "ProgramDelayNSec", "/home/someone"}, 1, "",
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
    if (c.err.empty()) EXPECT_EQ(r.err, "");
    else EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(runQuelo({"call", "--help"}).exitCode, 0);
}

// Both forms describe a member with its id and its arguments (the names and ids themselves are
// the type information's).
TEST(QueloDescribe, TextAndJsonDescribeMembersAndTheirArguments) {
  const ProcessResult json = runQuelo({"describe", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  for (const char* part : {"\"Sets\\\\Returns a text expression",  // a help string's backslash, escaped
                           "{\"name\": \"N\", \"type\": \"Long\", \"byRef\": true, \"optional\": true, \"default\": 5}"})
    EXPECT_NE(json.out.find(part), std::string::npos) << part;
  const ProcessResult text = runQuelo({"describe"});
  for (const char* part :
       {"0x6003001D  method ProgramDelayNSec(Optional ByRef N As Long = 5)", "-552  method AboutBox()", "[hidden]"})
    EXPECT_NE(text.out.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace quelo::testing
