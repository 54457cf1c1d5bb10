#include <gtest/gtest.h>

#include "platform/platform.h"
#include "reporter/generation_driver.h"

namespace quelo {
namespace {

// A name spelled with overlong UTF-8 slashes stays one plain name in the Reports folder.
TEST(ReportNames, OverlongSlashesNeverReachAnotherFolder) {
  Platform platform;
  for (const char* typed : {"..\xE0\x80\xAF..\xE0\x80\xAF" "etc\xE0\x80\xAFx.htm", "\xF0\x80\x80\xAF" "x"}) {
    const std::string name = reportBaseName(platform, typed);
    EXPECT_EQ(name.find_first_of(std::string("/\\\0", 3)), std::string::npos) << testing::PrintToString(name);
    EXPECT_EQ(pageFileName(name, 2, 3).find('/'), std::string::npos);
  }
}

}  // namespace
}  // namespace quelo
