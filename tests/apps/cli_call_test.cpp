#include <gtest/gtest.h>

#include "fakes/run_process.h"

namespace quelo {
namespace {

using testing::runQuelo;

TEST(QueloCall, ReadsTheInitialProperties) {
  auto r = runQuelo({"call", "MaxRecsPerPage", "--", "Interval", "--", "DoTimer", "--", "Tag", "--", "BackColor", "--",
                     "Enabled"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "10\n0\nFalse\n\n16777088\nTrue\n");
}

TEST(QueloCall, WritesPropertiesAndShowsByReferenceArguments) {
  auto r = runQuelo({"call", "ApplicationPath=  /srv/data  ", "--", "maxrecsperpage=s:7", "--", "MaxRecsPerPage", "--",
                     "ProgramDelayNSec", "~", "--", "Tag=s:42", "--", "Tag"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ApplicationPath=/srv/data/\nMaxRecsPerPage=7\n7\n42\n");
}

TEST(QueloCall, RaisedErrorsGoToStderrAndStop) {
  auto r = runQuelo({"call", "ApplicationPath", "--", "Tag"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("error 393: ", 0), 0u) << r.err;
  auto unknown = runQuelo({"call", "NoSuchMember"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("error 438"), std::string::npos);
  auto mismatch = runQuelo({"call", "Interval=abc"});
  EXPECT_EQ(mismatch.exitCode, 1);
  EXPECT_NE(mismatch.err.find("error 13"), std::string::npos);
}

// A bare ~ reaches quelo as the home folder: the call fails as it must, and stderr says why.
TEST(QueloCall, ATildeTheShellExpandedIsExplained) {
  auto r = runQuelo({"call", "ProgramDelayNSec", "/home/someone"}, {{"HOME", "/home/someone"}});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(
      r.err.find(
          "error 13: Type mismatch\nnote: the shell turned a bare ~ into /home/someone; write '~'"),
      std::string::npos)
      << r.err;
}

TEST(QueloCall, DesignModeReadsTheApplicationPath) {
  auto r = runQuelo({"call", "--design", "--app-path", "/tmp/x", "ApplicationPath"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "/tmp/x/\n");
}

TEST(QueloCall, UsageErrorsExitTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"call"}, {"call", "Tag", "--"}, {"call", "--bogus", "Tag"}, {"call", "--app-path"},
        {"call", "Tag=1", "extra"}, {"frobnicate"}, {}}) {
    auto r = runQuelo(args);
    EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_EQ(runQuelo({"call", "--help"}).exitCode, 0);
}

}  // namespace
}  // namespace quelo
