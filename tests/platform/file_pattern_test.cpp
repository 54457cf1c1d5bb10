#include "platform/file_pattern.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

TEST(FilePattern, MatchesAnyOfItsPatternsWithoutRegardToCase) {
  const char* pictures = "*.bmp;*.gif;*.jpeg;*.jpg";
  EXPECT_TRUE(matchesFilePattern("Photo.JPG", pictures));
  EXPECT_TRUE(matchesFilePattern("a.b.gif", pictures));
  EXPECT_FALSE(matchesFilePattern("photo.jpgx", pictures));
  EXPECT_FALSE(matchesFilePattern("jpg", pictures));
  EXPECT_TRUE(matchesFilePattern("ÉTÉ.JPG", "été.*"));  // letters beyond ASCII too
}

TEST(FilePattern, StarDotStarMatchesEveryNameAndQuestionMarkOneCharacter) {
  EXPECT_TRUE(matchesFilePattern("README", "*.*"));
  EXPECT_TRUE(matchesFilePattern("x.txt", "*.txt; *.*"));
  EXPECT_TRUE(matchesFilePattern("a€c.txt", "a?c.txt"));  // one character, three bytes
  EXPECT_FALSE(matchesFilePattern("ac.txt", "a?c.txt"));
  EXPECT_TRUE(matchesFilePattern("abcabd", "*ab?"));      // the star backtracks
  EXPECT_FALSE(matchesFilePattern("x.txt", ""));
  EXPECT_FALSE(matchesFilePattern("x.txt", ";;"));
}

}  // namespace
}  // namespace quelo
