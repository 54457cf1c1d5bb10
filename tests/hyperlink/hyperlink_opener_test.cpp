#include "hyperlink/hyperlink_opener.h"

#include <gtest/gtest.h>

#include "component/hyperlink_state.h"
#include "fakes/control_harness.h"
#include "fakes/plain_desktop.h"
#include "fakes/run_process.h"
#include "hyperlink/like_pattern.h"

namespace quelo {
namespace {

using testing::FakeShell;
using testing::FakeWindowSystem;
using Launches = std::vector<FakeShell::Launch>;

class HyperlinkOpener : public ::testing::Test {
 protected:
  // OpenHyperlink through the control, by name, as a host calls it.
  Variant open(const std::string& destination, const Variant& newInstance = Variant::missing()) {
    Args args{Variant(destination), newInstance};
    auto r = h.control->invoke("OpenHyperlink", InvokeKind::Method, args);
    EXPECT_TRUE(r.isOk());
    return r.isOk() ? r.value() : Variant();
  }
  HyperlinkState& state() { return h.component->hyperlinks; }

  testing::ControlHarness h;
  FakeShell& shell = h.shell;
  FakeWindowSystem& windows = h.windows;
};

TEST_F(HyperlinkOpener, WebAddressesOpenTrimmedAndAnythingWithAnAtSignIsMail) {
  for (const char* nothing : {"   ", ""})
    EXPECT_EQ(open(nothing), Variant(false));  // spaces launch nothing
  EXPECT_EQ(shell.browserLookups, 0);
  // ("mailto:x@y.org" keeps its one prefix)
  for (const char* target :
       {"  https://example.com/a?b=1 ", "x@y.org", "https://user@example.com/", "mailto:x@y.org"})
    EXPECT_EQ(open(target), Variant(true)) << target;
  EXPECT_EQ(shell.launches, (Launches{{"open", "", "https://example.com/a?b=1", true},
                                      {"mail", "", "mailto:x@y.org", true},
                                      {"mail", "", "mailto:https://user@example.com/", true},
                                      {"mail", "", "mailto:x@y.org", true}}));
}

TEST_F(HyperlinkOpener, AnOpenBrowserWindowComesToTheFrontUnlessANewOneIsAsked) {
  const WindowHandle frame = windows.add(FakeWindowSystem::kDesktop, "frame", "Frame");
  const WindowHandle browser = windows.add(frame, "Report \u2014 Mozilla Firefox", "firefox");
  windows.add(FakeWindowSystem::kDesktop, "News - Chromium", "Chromium");
  windows.add(FakeWindowSystem::kDesktop, "notes.txt - Editor", "Editor");

  EXPECT_EQ(open("https://example.com/", Variant(false)), Variant(true));
  EXPECT_EQ(windows.activated, (std::vector<WindowHandle>{browser}));
  EXPECT_EQ(open("https://example.com/", Variant(true)), Variant(true));
  EXPECT_EQ(windows.activated.size(), 1u);
  EXPECT_EQ(open("x@y.org", Variant(true)), Variant(true)) << "the flag does not count for e-mail";
  EXPECT_EQ(windows.activated.size(), 2u);
  EXPECT_EQ(shell.launches.size(), 3u);
}

// A window that refuses the front still gets the link; one failed hand-over is retried.
TEST_F(HyperlinkOpener, AWindowThatRefusesTheFrontAndOneFailureStillOpen) {
  windows.add(FakeWindowSystem::kDesktop, "Mozilla Firefox", "firefox");
  windows.refuseActivation = true;
  shell.failOpens = 1;
  EXPECT_EQ(open("https://example.com/"), Variant(true));
  ASSERT_EQ(shell.launches.size(), 2u);
  EXPECT_TRUE(shell.launches[1].launched);
  EXPECT_EQ(shell.browserLookups, 0);
}

TEST_F(HyperlinkOpener, TwoFailedHandOversStartTheBrowserProgram) {
  shell.failOpens = 2;
  EXPECT_EQ(open("report.html"), Variant(true));
  EXPECT_EQ(shell.launches, (Launches{{"open", "", "report.html", false},
                                      {"open", "", "report.html", false},
                                      {"start", "/usr/bin/test-browser", "report.html", true}}));
  EXPECT_TRUE(state().browserKnown);

  // Once it has worked, the program is not looked up again.
  shell.failOpens = 2;
  shell.browser = "/elsewhere";
  EXPECT_EQ(open("x@y.org"), Variant(true));
  EXPECT_EQ(shell.launches.back(),
            (FakeShell::Launch{"start", "/usr/bin/test-browser", "mailto:x@y.org", true}));
  EXPECT_EQ(shell.browserLookups, 1);
}

TEST_F(HyperlinkOpener, NothingLaunchedIsFalse) {
  shell.failOpens = 2;
  shell.failStarts = 1;
  EXPECT_EQ(open("https://example.com/"), Variant(false));
  EXPECT_FALSE(state().browserKnown);

  // The browser is looked up afresh after a failed start; none found means nothing is started.
  shell.failOpens = 2;
  shell.browser.clear();
  EXPECT_EQ(open("https://example.com/"), Variant(false));
  EXPECT_EQ(shell.browserLookups, 2);
  EXPECT_EQ(shell.launches.size(), 5u);
  for (const auto& l : shell.launches) EXPECT_FALSE(l.launched);
}

TEST_F(HyperlinkOpener, APlatformWithoutTheServicesOpensNothing) {
  Platform bare = h.platform();
  bare.shell = nullptr;
  EXPECT_FALSE(openHyperlink(bare, state(), "https://example.com/", false));
  bare = h.platform();
  bare.windows = nullptr;
  EXPECT_TRUE(openHyperlink(bare, state(), "https://example.com/", false));
}

TEST(BrowserTitlePatterns, MatchTheBrowsersWindowsAndNothingElse) {
  auto anyMatches = [](const std::string& title) {
    for (const auto& p : browserTitlePatterns())
      if (LikePattern(p).matches(title)) return true;
    return false;
  };
  for (const char* title :
       {"Example Domain \u2014 Mozilla Firefox", "Example Domain - Mozilla Firefox",
        "Mozilla Firefox", "New Tab - Chromium", "Example - Google Chrome",
        "Private \u2014 Mozilla Firefox Private Browsing"})
    EXPECT_TRUE(anyMatches(title)) << title;
  for (const char* title :
       {"Firefox notes.txt - Editor", "Terminal", "Chromium build log - Editor"})
    EXPECT_FALSE(anyMatches(title)) << title;
  for (const auto& p : browserTitlePatterns()) EXPECT_TRUE(LikePattern(p).valid()) << p;
}

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
  EXPECT_EQ(desktop.browser.calls(), (std::vector<std::vector<std::string>>{
                                         {"https://example.com/a?b=1"}, {"mailto:x@y.org"}}));
}

}  // namespace
}  // namespace quelo
