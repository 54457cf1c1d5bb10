#include <gtest/gtest.h>

#include "component/hyperlink_state.h"
#include "fakes/control_harness.h"
#include "hyperlink/hyperlink_opener.h"
#include "hyperlink/like_pattern.h"
#include "hyperlink/window_search.h"
#include "platform/headless/no_window_system.h"

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

// A loop that only counts how often it is pumped, and may run a probe then.
class CountingLoop : public MessageLoop {
 public:
  TimerId startTimer(std::chrono::milliseconds, Callback) override { return 0; }
  void stopTimer(TimerId) override {}
  void post(Callback) override {}
  void processEvents() override {
    ++pumps;
    if (probe) probe();
  }
  int pumps = 0;
  std::function<void()> probe;
};

class WindowSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    mail = windows.add(FakeWindowSystem::kDesktop, "Mail - Inbox", "MailFrame");
    send = windows.add(mail, "Send", "Button", 1);
    cancel = windows.add(mail, "Cancel", "Button", 2);
    inner = windows.add(cancel, "inner", "Static", 1);
    report = windows.add(FakeWindowSystem::kDesktop, "Report - Firefox", "Navigator", 7);
    notes = windows.add(FakeWindowSystem::kDesktop, "Notes", "Editor");
  }
  int32_t find(WindowHandle start, std::string_view title, std::string_view cls,
               const Variant& id = Variant::null()) {
    return findWindowsByPatterns(windows, loop, state, list, start, {std::string(title)}, cls, id);
  }

  FakeWindowSystem windows;
  CountingLoop loop;
  HyperlinkState state;
  std::vector<WindowHandle> list{0, 99, 98};  // left over from an earlier search
  WindowHandle mail, send, cancel, inner, report, notes;
};

// Every descendant of the start window once (never the start itself), descendants first, siblings
// topmost first; title, class and child id all count; a malformed pattern, or an id asked of a
// top-level window, matches nothing. Pending events run before each window.
TEST_F(WindowSearch, FindsWhatTheTableSays) {
  EXPECT_EQ(find(0, "*", "*"), 6);
  EXPECT_EQ(loop.pumps, 6);
  EXPECT_EQ(state.searchDepth, 0);
  const struct {
    WindowHandle start;
    const char *title, *cls;
    Variant id;
    std::vector<WindowHandle> found;
  } cases[] = {
      {0, "*", "*", Variant::null(), {send, inner, cancel, mail, report, notes}},
      {mail, "*", "*", Variant::null(), {send, inner, cancel}},
      {notes, "*", "*", Variant::null(), {}},
      {0, "* - Firefox", "*", Variant::null(), {report}},
      {0, "*", "Button", Variant::null(), {send, cancel}},
      {0, "S*", "Static", Variant::null(), {}},
      {0, "[", "*", Variant::null(), {}},
      {0, "*", "*", Variant(int32_t{1}), {send, inner}},
      {0, "*", "*", Variant("2"), {cancel}},
      {0, "*", "*", Variant(int32_t{7}), {}},
      {0, "*", "*", Variant("one"), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " " + c.cls + " from " + std::to_string(c.start));
    list = {0, 99};
    EXPECT_EQ(find(c.start, c.title, c.cls, c.id), static_cast<int32_t>(c.found.size()));
    std::vector<WindowHandle> expected{0};
    expected.insert(expected.end(), c.found.begin(), c.found.end());
    EXPECT_EQ(list, expected);
  }
  list = {0, 99};
  NoWindowSystem none;  // no windows: nothing found
  EXPECT_EQ(findWindowsByPatterns(none, loop, state, list, 0, {"*"}, "*", Variant::null()), 0);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0}));
}

TEST_F(WindowSearch, TextsAreReadUpTo255Characters) {
  std::string title(254, 'a');
  title += "\u00e9xyz";  // the 255th character is two bytes long
  const WindowHandle longOne = windows.add(FakeWindowSystem::kDesktop, title, "Long");
  EXPECT_EQ(find(0, std::string(254, '?') + "\u00e9", "Long"), 1);
  EXPECT_EQ(list[1], longOne);
  EXPECT_EQ(find(0, "*xyz", "Long"), 0);
}

// An event handler that searches while a search runs joins the running one (its depth and count
// are shared): it neither resets the outer list nor breaks the outer count.
TEST_F(WindowSearch, ASearchFromAnEventDuringASearchJoinsIt) {
  std::vector<WindowHandle> other;
  int32_t inside = -1;
  loop.probe = [&] {
    if (inside >= 0) return;
    inside = 0;
    inside = findWindowsByPatterns(windows, loop, state, other, notes, {"*"}, "*", Variant::null());
  };
  EXPECT_EQ(find(0, "*", "*"), 6);
  EXPECT_EQ(list.size(), 7u);
  EXPECT_EQ(inside, 0);
  EXPECT_EQ(state.searchDepth, 0);
}

// Wildcards, whole-text and case rules, lists and ranges, characters beyond ASCII, backtracking to
// the last star, and malformed patterns (which match nothing).
TEST(LikePattern, MatchesAsTheTableSays) {
  const struct {
    const char* pattern;
    std::vector<const char*> matching, other;
  } cases[] = {
      {"* - Browser", {"Report - Browser", " - Browser"}, {"Report - Browser 2"}},
      {"*", {""}, {}},
      {"a?c", {"abc"}, {"ac"}},
      {"Page #", {"Page 7"}, {"Page x", "Page 12"}},
      {"a[*]b", {"a*b"}, {"axb"}},
      {"abc", {}, {"xabc", "abcx", "ABC"}},
      {"", {""}, {"a"}},
      {"?", {}, {""}},
      {"[abc]", {"b"}, {"d"}},
      {"[a-z]", {"q"}, {"Q"}},
      {"[!a-z]", {"Q"}, {"q"}},
      {"[a-c0-9]", {"5"}, {}},
      {"[-a]", {"-"}, {"b"}},
      {"[a-]", {"-"}, {}},
      {"a[]b", {"ab"}, {}},  // an empty list stands for nothing
      {"Caf?", {"Caf\u00e9"}, {}},
      {"Caf??", {}, {"Caf\u00e9"}},
      {"[\u00e0-\u00ff]t?", {"\u00e9t\u00e9"}, {}},
      {"*abd", {"abcabcabd"}, {}},
      {"m*iss*ppi", {"mississippi"}, {}},
      {"m*iss*ppx", {}, {"mississippi"}},
      {"[abc", {}, {"[abc"}},
      {"[z-a]", {}, {"m"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    for (const char* text : c.matching) EXPECT_TRUE(LikePattern(c.pattern).matches(text)) << text;
    for (const char* text : c.other) EXPECT_FALSE(LikePattern(c.pattern).matches(text)) << text;
  }
  EXPECT_FALSE(LikePattern("[abc").valid());
  EXPECT_TRUE(LikePattern("[a-z]*").valid());
}

// Fifty stars against a long title that almost matches: exponential backtracking would never end,
// and the test would not either.
TEST(LikePattern, HostilePatternAnswers) {
  const std::string title(10000, 'a');
  std::string pattern;
  for (int i = 0; i < 50; ++i) pattern += "*a";
  EXPECT_FALSE(LikePattern(pattern + "b").matches(title));
  EXPECT_TRUE(LikePattern(pattern + "*").matches(title));
  EXPECT_FALSE(LikePattern(std::string(50, '*') + "b").matches(title));
}

}  // namespace
}  // namespace quelo
