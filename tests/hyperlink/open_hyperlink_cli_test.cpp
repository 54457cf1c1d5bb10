// OpenHyperlink end to end: the quelo command, the real xdg utilities, and a recording program as
// the user's browser ($BROWSER).
#include <gtest/gtest.h>

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

  testing::PlainDesktop desktop;
};

// A web address reaches the browser exactly, an e-mail address as mailto, spaces launch nothing.
TEST_F(OpenHyperlinkCommand, AddressesReachTheBrowserExactly) {
  EXPECT_EQ(openHyperlink("https://example.com/a?b=1"), "True\n");
  EXPECT_EQ(openHyperlink("x@y.org"), "True\n");
  EXPECT_EQ(openHyperlink("   "), "False\n");
  EXPECT_EQ(desktop.browser.calls(), (Calls{{"https://example.com/a?b=1"}, {"mailto:x@y.org"}}));
}

}  // namespace
}  // namespace quelo
