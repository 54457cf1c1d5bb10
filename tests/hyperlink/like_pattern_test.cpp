#include "hyperlink/like_pattern.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace quelo {
namespace {

TEST(LikePattern, WildcardsTakeTheirCharacters) {
  EXPECT_TRUE(likeMatch("Report - Browser", "* - Browser"));
  EXPECT_TRUE(likeMatch(" - Browser", "* - Browser"));
  EXPECT_FALSE(likeMatch("Report - Browser 2", "* - Browser"));
  EXPECT_TRUE(likeMatch("", "*"));
  EXPECT_TRUE(likeMatch("abc", "a?c"));
  EXPECT_FALSE(likeMatch("ac", "a?c"));
  EXPECT_TRUE(likeMatch("Page 7", "Page #"));
  EXPECT_FALSE(likeMatch("Page x", "Page #"));
  EXPECT_FALSE(likeMatch("Page 12", "Page #"));
  EXPECT_TRUE(likeMatch("a*b", "a[*]b"));
  EXPECT_FALSE(likeMatch("axb", "a[*]b"));
}

TEST(LikePattern, WholeTextAndCaseCount) {
  EXPECT_FALSE(likeMatch("xabc", "abc"));
  EXPECT_FALSE(likeMatch("abcx", "abc"));
  EXPECT_FALSE(likeMatch("ABC", "abc"));
  EXPECT_TRUE(likeMatch("", ""));
  EXPECT_FALSE(likeMatch("a", ""));
  EXPECT_FALSE(likeMatch("", "?"));
}

TEST(LikePattern, ListsRangesAndNegation) {
  EXPECT_TRUE(likeMatch("b", "[abc]"));
  EXPECT_FALSE(likeMatch("d", "[abc]"));
  EXPECT_TRUE(likeMatch("q", "[a-z]"));
  EXPECT_FALSE(likeMatch("Q", "[a-z]"));
  EXPECT_TRUE(likeMatch("Q", "[!a-z]"));
  EXPECT_FALSE(likeMatch("q", "[!a-z]"));
  EXPECT_TRUE(likeMatch("5", "[a-c0-9]"));
  EXPECT_TRUE(likeMatch("-", "[-a]"));
  EXPECT_TRUE(likeMatch("-", "[a-]"));
  EXPECT_FALSE(likeMatch("b", "[-a]"));
  EXPECT_TRUE(likeMatch("ab", "a[]b"));  // an empty list stands for nothing
}

TEST(LikePattern, CharactersAreNotBytes) {
  EXPECT_TRUE(likeMatch("Caf\u00e9", "Caf?"));
  EXPECT_TRUE(likeMatch("\u00e9t\u00e9", "[\u00e0-\u00ff]t?"));
  EXPECT_FALSE(likeMatch("Caf\u00e9", "Caf??"));
}

TEST(LikePattern, MalformedPatternsMatchNothing) {
  EXPECT_FALSE(LikePattern("[abc").valid());
  EXPECT_FALSE(likeMatch("[abc", "[abc"));
  EXPECT_FALSE(likeMatch("m", "[z-a]"));
  EXPECT_TRUE(LikePattern("[a-z]*").valid());
}

TEST(LikePattern, BacktracksOnlyToTheLastStar) {
  EXPECT_TRUE(likeMatch("abcabcabd", "*abd"));
  EXPECT_TRUE(likeMatch("aXbYc", "*a*b*c"));
  EXPECT_FALSE(likeMatch("aXbYd", "*a*b*c"));
  EXPECT_TRUE(likeMatch("mississippi", "m*iss*ppi"));
  EXPECT_FALSE(likeMatch("mississippi", "m*iss*ppx"));
}

// Fifty stars against a long title that almost matches: exponential backtracking would never end.
TEST(LikePattern, HostilePatternAnswersInMilliseconds) {
  const std::string title(10000, 'a');
  std::string pattern;
  for (int i = 0; i < 50; ++i) pattern += "*a";
  const auto start = std::chrono::steady_clock::now();
  const bool matched = likeMatch(title, pattern + "b");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(matched);
  EXPECT_LT(elapsed, std::chrono::milliseconds(50));
  EXPECT_TRUE(likeMatch(title, pattern + "*"));
  EXPECT_FALSE(likeMatch(title, std::string(50, '*') + "b"));
}

}  // namespace
}  // namespace quelo
