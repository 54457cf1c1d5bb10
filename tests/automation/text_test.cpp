#include "automation/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quelo
