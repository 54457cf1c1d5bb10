#include "hyperlink/window_search.h"

#include <gtest/gtest.h>

#include <string>

#include "component/hyperlink_state.h"
#include "fakes/fake_window_system.h"
#include "hyperlink/like_pattern.h"
#include "platform/headless/no_window_system.h"

namespace quelo {
namespace {

using testing::FakeWindowSystem;

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

TEST_F(WindowSearch, EveryDescendantOnceDescendantsFirstSiblingsTopmostFirst) {
  EXPECT_EQ(find(0, "*", "*"), 6);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, send, inner, cancel, mail, report, notes}));
  EXPECT_EQ(loop.pumps, 6);  // pending events run before each window
  EXPECT_EQ(state.searchDepth, 0);
}

TEST_F(WindowSearch, TheStartWindowItselfIsNeverTestedNorAnyWithoutAWindowSystem) {
  EXPECT_EQ(find(mail, "*", "*"), 3);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, send, inner, cancel}));
  EXPECT_EQ(find(notes, "*", "*"), 0);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0}));
  list = {0, 99};
  NoWindowSystem none;  // no windows: nothing found
  EXPECT_EQ(findWindowsByPatterns(none, loop, state, list, 0, {"*"}, "*", Variant::null()), 0);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0}));
}

TEST_F(WindowSearch, TitleClassAndIdAllCount) {
  EXPECT_EQ(find(0, "* - Firefox", "*"), 1);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, report}));
  EXPECT_EQ(find(0, "*", "Button"), 2);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, send, cancel}));
  EXPECT_EQ(find(0, "S*", "Static"), 0);
  EXPECT_EQ(find(0, "[", "*"), 0);  // a malformed pattern matches nothing
  // An id lists only child windows with that identifier.
  EXPECT_EQ(find(0, "*", "*", Variant(int32_t{1})), 2);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, send, inner}));
  EXPECT_EQ(find(0, "*", "*", Variant("2")), 1);
  EXPECT_EQ(list, (std::vector<WindowHandle>{0, cancel}));
  EXPECT_EQ(find(0, "*", "*", Variant(int32_t{7})), 0) << "a top-level window has no identifier";
  EXPECT_EQ(find(0, "*", "*", Variant("one")), 0);
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
    const char *text, *pattern;
    bool matches;
  } cases[] = {{"Report - Browser", "* - Browser", true},
               {" - Browser", "* - Browser", true},
               {"Report - Browser 2", "* - Browser", false},
               {"", "*", true},
               {"abc", "a?c", true},
               {"ac", "a?c", false},
               {"Page 7", "Page #", true},
               {"Page x", "Page #", false},
               {"Page 12", "Page #", false},
               {"a*b", "a[*]b", true},
               {"axb", "a[*]b", false},
               {"xabc", "abc", false},
               {"abcx", "abc", false},
               {"ABC", "abc", false},
               {"", "", true},
               {"a", "", false},
               {"", "?", false},
               {"b", "[abc]", true},
               {"d", "[abc]", false},
               {"q", "[a-z]", true},
               {"Q", "[a-z]", false},
               {"Q", "[!a-z]", true},
               {"q", "[!a-z]", false},
               {"5", "[a-c0-9]", true},
               {"-", "[-a]", true},
               {"-", "[a-]", true},
               {"b", "[-a]", false},
               {"ab", "a[]b", true},  // an empty list stands for nothing
               {"Caf\u00e9", "Caf?", true},
               {"\u00e9t\u00e9", "[\u00e0-\u00ff]t?", true},
               {"Caf\u00e9", "Caf??", false},
               {"abcabcabd", "*abd", true},
               {"aXbYc", "*a*b*c", true},
               {"aXbYd", "*a*b*c", false},
               {"mississippi", "m*iss*ppi", true},
               {"mississippi", "m*iss*ppx", false},
               {"[abc", "[abc", false},
               {"m", "[z-a]", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " LIKE " + c.pattern);
    EXPECT_EQ(LikePattern(c.pattern).matches(c.text), c.matches);
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
