#include <gtest/gtest.h>


#include "fakes/run_process.h"

namespace quelo {
namespace {

using testing::runQuelo;

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The version, by either spelling; a command's usage error points to that command's help.
TEST(QueloCommandLine, VersionAndUsageHints) {
  for (const char* flag : {"--version", "-V"}) {
    auto r = runQuelo({flag});
    EXPECT_EQ(r.exitCode, 0) << flag;
    EXPECT_EQ(r.out, std::string("quelo ") + QUELO_VERSION + "\n") << flag;
  }
  EXPECT_NE(runQuelo({"describe", "--bogus"}).err.find("(see 'quelo describe --help')"), std::string::npos);
  EXPECT_NE(runQuelo({"call", "--bogus"}).err.find("(see 'quelo call --help')"), std::string::npos);
}

TEST(QueloDescribe, JsonListsTheInterfaceEventsAndEnums) {
  auto r = runQuelo({"describe", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string& j = r.out;
  const size_t members = j.find("\"members\"");
  const size_t events = j.find("\"events\"");
  const size_t enums = j.find("\"enums\": [");
  ASSERT_TRUE(members < events && events < enums);
  EXPECT_EQ(count(j.substr(members, events - members), "    {\"name\""), 23u);
  EXPECT_EQ(count(j.substr(events, enums - events), "    {\"name\""), 3u);
  EXPECT_EQ(count(j.substr(enums), "\"members\""), 5u);
  EXPECT_NE(j.find("{\"name\": \"AdvancedSettings\", \"dispid\": 1610809375"), std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"BackColor\", \"dispid\": -501"), std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"ShowZeReporter\", \"dispid\": 0"), std::string::npos);
  EXPECT_NE(j.find("\"returns specified user setting of  report customization preferences\""), std::string::npos);
  EXPECT_NE(j.find("to be  displayed in ReportForm caption"), std::string::npos);
  EXPECT_NE(j.find("\"Sets\\\\Returns a text expression"), std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"forFututeUse\""), std::string::npos);
  EXPECT_NE(j.find("\"ReportAdvSetttings\""), std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"Ze_ThouRecs\", \"value\": 1000"), std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"N\", \"type\": \"Long\", \"byRef\": true, \"optional\": true, \"default\": 5}"),
            std::string::npos);
}

TEST(QueloDescribe, TextNamesEveryMemberWithItsId) {
  auto r = runQuelo({"describe"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("0x6003001D  method ProgramDelayNSec(Optional ByRef N As Long = 5)"), std::string::npos);
  EXPECT_NE(r.out.find("-552  method AboutBox()"), std::string::npos);
  EXPECT_NE(r.out.find("[hidden]"), std::string::npos);
  EXPECT_EQ(runQuelo({"describe", "--xml"}).exitCode, 2);
}

}  // namespace
}  // namespace quelo
