// OpenHyperlink end to end: the quelo command, the real xdg utilities, and a recording program as
// the user's browser ($BROWSER).
#include <gtest/gtest.h>

#include "fakes/plain_desktop.h"
#include "fakes/run_process.h"

namespace quelo {
namespace {

// A web address reaches the browser exactly, an e-mail address as mailto, spaces launch nothing.
TEST(OpenHyperlinkCommand, AddressesReachTheBrowserExactly) {
  ASSERT_EQ(testing::runProcess({"xdg-open", "--version"}).exitCode, 0)
      << "xdg-open is missing: scripts/install-deps.sh installs xdg-utils";
  testing::PlainDesktop desktop;
  const std::pair<const char*, const char*> cases[] = {
      {"https://example.com/a?b=1", "True\n"}, {"x@y.org", "True\n"}, {"   ", "False\n"}};
  for (const auto& [target, printed] : cases) {
    const testing::ProcessResult r = testing::runQuelo({"call", "OpenHyperlink", target});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, printed) << target;
  }
  EXPECT_EQ(desktop.browser.calls(),
            (std::vector<std::vector<std::string>>{{"https://example.com/a?b=1"}, {"mailto:x@y.org"}}));
}

}  // namespace
}  // namespace quelo
