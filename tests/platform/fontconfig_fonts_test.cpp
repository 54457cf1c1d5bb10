#include "platform/posix/fontconfig_fonts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quelo {
namespace {

using ::testing::Contains;
using ::testing::Not;

// The test packages install fonts-dejavu-core.
TEST(FontconfigFonts, ListsTheInstalledFamiliesByTheirPreferredName) {
  const auto names = FontconfigFonts().families();
  EXPECT_THAT(names, Contains("DejaVu Sans"));
  EXPECT_THAT(names, Contains("DejaVu Serif"));
  for (const auto& name : names) EXPECT_THAT(name, Not(::testing::HasSubstr(","))) << "one family a name";
}

}  // namespace
}  // namespace quelo
