// OpenHyperlink end to end: the quelo command, the real xdg utilities, and a recording program as
// the user's browser ($BROWSER).
#include <gtest/gtest.h>
#include <unistd.h>

#include "fakes/plain_desktop.h"
#include "fakes/run_process.h"

namespace quelo {
namespace {

using Calls = std::vector<std::vector<std::string>>;

class OpenHyperlinkCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::runProcess({"xdg-open", "--version"}).exitCode, 0)
        << "xdg-open is missing: scripts/install-deps.sh installs xdg-utils";
  }

  // Runs `quelo call OpenHyperlink TARGET` in the plain desktop and returns its standard output.
  std::string openHyperlink(const std::string& target) {
    const testing::ProcessResult r = testing::runQuelo({"call", "OpenHyperlink", target});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
  }
  bool exists(const std::string& name) { return access((desktop.dir / name).c_str(), F_OK) == 0; }

  testing::PlainDesktop desktop;
};

// A web address reaches the browser exactly, an e-mail address as mailto, spaces launch nothing.
TEST_F(OpenHyperlinkCommand, AddressesReachTheBrowserExactly) {
  EXPECT_EQ(openHyperlink("https://example.com/a?b=1"), "True\n");
  EXPECT_EQ(openHyperlink("x@y.org"), "True\n");
  EXPECT_EQ(openHyperlink("   "), "False\n");
  EXPECT_EQ(desktop.browser.calls(), (Calls{{"https://example.com/a?b=1"}, {"mailto:x@y.org"}}));
}

// Neither handler knows what to do with these (no such files), so the browser program itself is
// started: with each target as one argument that nothing interprets and no program reads as an
// option.
TEST_F(OpenHyperlinkCommand, HostileTargetsArriveAsOneInertArgument) {
  const std::string substitution = "$(touch " + desktop.dir / "pwned" + ")";
  const std::string backquotes = "`touch " + desktop.dir / "pwned2" + "`;touch " + desktop.dir / "pwned3";
  EXPECT_EQ(openHyperlink(substitution), "True\n");
  EXPECT_EQ(openHyperlink(backquotes), "True\n");
  EXPECT_EQ(openHyperlink("-h"), "True\n");
  EXPECT_EQ(desktop.browser.calls(), (Calls{{substitution}, {backquotes}, {"./-h"}}));
  EXPECT_FALSE(exists("pwned"));
  EXPECT_FALSE(exists("pwned2"));
  EXPECT_FALSE(exists("pwned3"));
}

}  // namespace
}  // namespace quelo
