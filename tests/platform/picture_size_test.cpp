#include "platform/picture_size.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

// A JPEG whose frame header follows 240 KB of metadata segments, as a camera's may: the size is
// still found, read as far as the header goes and no further.
TEST(PictureSize, AJpegIsReadUpToItsFrameHeader) {
  testing::ScratchDir dir;
  std::string jpeg("\xFF\xD8", 2);
  for (int i = 0; i < 4; ++i) jpeg += std::string("\xFF\xE1\xEA\x62", 4) + std::string(60000, 'm');
  jpeg += std::string("\xFF\xC0\x00\x11\x08\x00\x30\x00\x40", 9) + std::string(300000, 'd');
  dir.write("photo.jpg", jpeg);
  PosixFileSystem files;
  EXPECT_EQ(pictureSize(files, dir / "photo.jpg"), (PixelSize{64, 48}));
}

}  // namespace
}  // namespace quelo
