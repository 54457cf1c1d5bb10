// OpenHyperlink end to end: the quelo command, the real xdg utilities, and a recording program as
// the user's browser ($BROWSER).
#include <gtest/gtest.h>
#include <unistd.h>

#include "fakes/plain_desktop.h"
#include "platform/posix/process.h"

namespace quelo {
namespace {

using Calls = std::vector<std::vector<std::string>>;

class OpenHyperlinkCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ProcessOptions quiet;
    quiet.captureOutput = true;
    auto probe = runProcess({"xdg-open", "--version"}, quiet);
    ASSERT_TRUE(probe.isOk()) << "xdg-open is missing: scripts/install-deps.sh installs xdg-utils";
  }

  // Runs `quelo call OpenHyperlink TARGET` in the scratch folder and returns its standard output.
  std::string openHyperlink(const std::string& target) {
    ProcessOptions o;
    o.captureOutput = true;
    o.workingDirectory = desktop.dir.path();
    o.waitLimit = std::chrono::seconds(60);
    auto r = runProcess({QUELO_CLI, "call", "OpenHyperlink", target}, o);
    if (!r.isOk()) return "failed to run: " + r.error().message;
    EXPECT_EQ(r.value().exitStatus, 0);
    return r.value().output;
  }
  bool exists(const std::string& name) { return access((desktop.dir / name).c_str(), F_OK) == 0; }

  testing::PlainDesktop desktop;
};

TEST_F(OpenHyperlinkCommand, AWebAddressReachesTheBrowserExactly) {
  EXPECT_EQ(openHyperlink("https://example.com/a?b=1"), "True\n");
  EXPECT_EQ(desktop.browser.calls(), (Calls{{"https://example.com/a?b=1"}}));
}

TEST_F(OpenHyperlinkCommand, AnEmailAddressIsHandedOverAsMailto) {
  EXPECT_EQ(openHyperlink("x@y.org"), "True\n");
  EXPECT_EQ(desktop.browser.calls(), (Calls{{"mailto:x@y.org"}}));
}

TEST_F(OpenHyperlinkCommand, ADestinationOfSpacesLaunchesNothing) {
  EXPECT_EQ(openHyperlink("   "), "False\n");
  EXPECT_TRUE(desktop.browser.calls().empty());
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
