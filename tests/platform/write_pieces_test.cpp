#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

// Pieces written at once land in order between the bytes written before and after them, empty
// pieces and more pieces than one call of the kernel takes included.
TEST(WritePieces, LandInOrderBetweenTheBytesAroundThem) {
  testing::ScratchDir dir;
  PosixFileSystem files;
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i)
    texts.push_back(std::string(static_cast<size_t>(i % 7 * 11), static_cast<char>('a' + i % 26)));
  const std::vector<std::string_view> pieces(texts.begin(), texts.end());
  std::string expected = "BOM|head|";
  for (const std::string& text : texts) expected += text;
  expected += "|tail";

  auto file = files.beginUpdate(dir / "f", "BOM|");
  ASSERT_TRUE(file);
  ASSERT_TRUE(file.value()->write("head|"));
  ASSERT_TRUE(file.value()->writePieces(pieces));
  ASSERT_TRUE(file.value()->write("|tail"));
  ASSERT_TRUE(file.value()->close());
  EXPECT_EQ(dir.read("f"), expected);
}

}  // namespace
}  // namespace quelo
