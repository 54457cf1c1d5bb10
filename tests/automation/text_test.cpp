#include "automation/text.h"

#include <gtest/gtest.h>

#include "automation/file_pattern.h"

namespace quelo {
namespace {

// A byte sequence that is not the shortest UTF-8 form of a character (or names no character)
// stands for its bytes: case mapping keeps it, and it never turns into "/", "\" or NUL.
TEST(Utf8Text, MalformedSequencesStayTheirBytes) {
  const std::string malformed[] = {
      "\xE0\x80\xAF",      // "/" in three bytes
      "\xF0\x80\x80\xAF",  // "/" in four bytes
      "\xE0\x81\x9C",      // "\" in three bytes
      "\xF0\x80\x80\x80",  // NUL in four bytes
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // past U+10FFFF
  };
  for (const std::string& bytes : malformed) {
    const std::string name = "a" + bytes + "b";
    EXPECT_EQ(toLower(name), "a" + bytes + "b") << testing::PrintToString(bytes);
    EXPECT_EQ(toUpper(name), "A" + bytes + "B") << testing::PrintToString(bytes);
    EXPECT_EQ(toCodePoints(bytes).size(), bytes.size()) << testing::PrintToString(bytes);
  }
  // The shortest forms still decode, at each length.
  EXPECT_EQ(toCodePoints("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"), U"\u00E9\u20AC\U0001F600\U0010FFFF");
  EXPECT_EQ(toUpper("\xC3\xA9t\xC3\xA9"), "\xC3\x89T\xC3\x89");
}

TEST(Utf8Text, WellFormedAndCounted) {
  EXPECT_TRUE(isUtf8("plain"));
  EXPECT_TRUE(isUtf8("Grüße Жук 日本 🙂"));
  for (const char* bytes : {"\xC3", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xFF"})
    EXPECT_FALSE(isUtf8(bytes)) << testing::PrintToString(bytes);
  EXPECT_EQ(characterCount("Жук🙂"), 4);
}

// Position is 1-based and 0 means absent, also for a start before or past the text.
TEST(PlainText, PositionOf) {
  const struct { std::string_view text, what; size_t from, expected; } cases[] = {
      {"www.a.com", ".", 1, 4}, {"www.a.com", ".", 5, 6}, {"www.a.com", ".", 7, 0}, {"a.b", ".", 0, 0},
      {"a.b", "b", 3, 3},       {"a.b", "b", 4, 0},       {"", "x", 1, 0},         {"ab", "", 3, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(positionOf(c.text, c.what, c.from), c.expected) << c.text << " " << c.what << " " << c.from;
}

// Case is folded for ASCII letters only; the order breaks ties by the bytes, so it is total.
TEST(PlainText, IgnoringCase) {
  EXPECT_TRUE(equalsIgnoreCase("MaxRecsPerPage", "maxrecsperpage"));
  EXPECT_FALSE(equalsIgnoreCase("\xC3\x89", "\xC3\xA9"));  // É and é are other bytes
  EXPECT_FALSE(equalsIgnoreCase("ab", "abc"));
  EXPECT_TRUE(lessIgnoringCase("apple", "Banana"));
  EXPECT_TRUE(lessIgnoringCase("Readme", "readme"));
  EXPECT_FALSE(lessIgnoringCase("readme", "Readme"));
}

// Any of the patterns, without regard to case (beyond ASCII too); "?" is one character, not a byte.
TEST(FilePattern, MatchesAsTheTableSays) {
  const char* pictures = "*.bmp;*.gif;*.jpeg;*.jpg";
  const struct { const char *name, *patterns; bool matches; } cases[] = {
      {"Photo.JPG", pictures, true}, {"a.b.gif", pictures, true}, {"photo.jpgx", pictures, false},
      {"jpg", pictures, false}, {"ÉTÉ.JPG", "été.*", true}, {"README", "*.*", true},
      {"x.txt", "*.txt; *.*", true}, {"a€c.txt", "a?c.txt", true}, {"ac.txt", "a?c.txt", false},
      {"abcabd", "*ab?", true}, {"x.txt", "", false}, {"x.txt", ";;", false}};
  for (const auto& c : cases) EXPECT_EQ(matchesFilePattern(c.name, c.patterns), c.matches) << c.name << " / " << c.patterns;
}

}  // namespace
}  // namespace quelo
