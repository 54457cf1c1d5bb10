#include "hyperlink/like_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace quelo {
namespace {

// Wildcards, whole-text and case rules, lists and ranges, characters beyond ASCII, backtracking to
// the last star, and malformed patterns (which match nothing).
TEST(LikePattern, MatchesAsTheTableSays) {
  const struct { const char *text, *pattern; bool matches; } cases[] = {
      {"Report - Browser", "* - Browser", true}, {" - Browser", "* - Browser", true},
      {"Report - Browser 2", "* - Browser", false}, {"", "*", true}, {"abc", "a?c", true}, {"ac", "a?c", false},
      {"Page 7", "Page #", true}, {"Page x", "Page #", false}, {"Page 12", "Page #", false},
      {"a*b", "a[*]b", true}, {"axb", "a[*]b", false},
      {"xabc", "abc", false}, {"abcx", "abc", false}, {"ABC", "abc", false}, {"", "", true}, {"a", "", false},
      {"", "?", false},
      {"b", "[abc]", true}, {"d", "[abc]", false}, {"q", "[a-z]", true}, {"Q", "[a-z]", false},
      {"Q", "[!a-z]", true}, {"q", "[!a-z]", false}, {"5", "[a-c0-9]", true}, {"-", "[-a]", true},
      {"-", "[a-]", true}, {"b", "[-a]", false}, {"ab", "a[]b", true},  // an empty list stands for nothing
      {"Caf\u00e9", "Caf?", true}, {"\u00e9t\u00e9", "[\u00e0-\u00ff]t?", true}, {"Caf\u00e9", "Caf??", false},
      {"abcabcabd", "*abd", true}, {"aXbYc", "*a*b*c", true}, {"aXbYd", "*a*b*c", false},
      {"mississippi", "m*iss*ppi", true}, {"mississippi", "m*iss*ppx", false},
      {"[abc", "[abc", false}, {"m", "[z-a]", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " LIKE " + c.pattern);
    EXPECT_EQ(likeMatch(c.text, c.pattern), c.matches);
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
  EXPECT_FALSE(likeMatch(title, pattern + "b"));
  EXPECT_TRUE(likeMatch(title, pattern + "*"));
  EXPECT_FALSE(likeMatch(title, std::string(50, '*') + "b"));
}

}  // namespace
}  // namespace quelo
