#include "platform/picture.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/sniffing_picture_loader.h"

namespace quelo {
namespace {

using namespace std::string_view_literals;

TEST(Picture, KnownFormatsAreRecognisedByTheirFirstBytes) {
  EXPECT_TRUE(looksLikePicture("BM\x36\0\0\0"sv));
  EXPECT_TRUE(looksLikePicture("GIF89a..."));
  EXPECT_TRUE(looksLikePicture("\xFF\xD8\xFF\xE0"sv));
  EXPECT_TRUE(looksLikePicture("\x89PNG\r\n\x1A\n...."sv));
  EXPECT_TRUE(looksLikePicture("\0\0\1\0\1\0"sv));
  EXPECT_TRUE(looksLikePicture("II*\0"sv));
  EXPECT_TRUE(looksLikePicture("#define x_width 8\n"));
  EXPECT_FALSE(looksLikePicture("hello, world"));
  EXPECT_FALSE(looksLikePicture(""));
  EXPECT_FALSE(looksLikePicture("GIF"));
}

TEST(Picture, LoadPictureGivesEmptyForNoNameAndFailsForOtherFiles) {
  testing::ScratchDir dir;
  dir.write("a.gif", "GIF89a\x01\0\x01\0");
  dir.write("notes.txt", "not a picture");
  dir.plantNonFiles();
  PosixFileSystem files;
  SniffingPictureLoader loader(files);
  auto empty = loadPicture(loader, "");
  ASSERT_TRUE(empty.isOk());
  EXPECT_TRUE(empty.value()->empty());
  auto gif = loadPicture(loader, dir / "a.gif");
  ASSERT_TRUE(gif.isOk());
  EXPECT_EQ(gif.value()->get("Path").value(), Variant(dir / "a.gif"));
  for (const std::string& bad : {dir / "notes.txt", dir / "missing.gif", dir.path(), dir / "fifo", dir / "zero"}) {
    auto r = loadPicture(loader, bad);
    ASSERT_FALSE(r.isOk()) << bad;
    EXPECT_EQ(r.error().number, 481);
  }
}

}  // namespace
}  // namespace quelo
