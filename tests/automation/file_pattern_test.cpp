#include "automation/file_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace quelo {
namespace {

// Any of the patterns, without regard to case (beyond ASCII too); "?" is one character, not a byte.
TEST(FilePattern, MatchesAsTheTableSays) {
  const char* pictures = "*.bmp;*.gif;*.jpeg;*.jpg";
  const struct {
    const char* name;
    const char* patterns;
    bool matches;
  } cases[] = {{"Photo.JPG", pictures, true}, {"a.b.gif", pictures, true}, {"photo.jpgx", pictures, false},
               {"jpg", pictures, false}, {"ÉTÉ.JPG", "été.*", true}, {"README", "*.*", true},
               {"x.txt", "*.txt; *.*", true}, {"a€c.txt", "a?c.txt", true}, {"ac.txt", "a?c.txt", false},
               {"abcabd", "*ab?", true}, {"x.txt", "", false}, {"x.txt", ";;", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " / " + c.patterns);
    EXPECT_EQ(matchesFilePattern(c.name, c.patterns), c.matches);
  }
}

}  // namespace
}  // namespace quelo
