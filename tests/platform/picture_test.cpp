#include "platform/picture.h"
#include "platform/picture_size.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "platform/posix/fontconfig_fonts.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/sniffing_picture_loader.h"

namespace quelo {
namespace {

using namespace std::string_view_literals;

TEST(Picture, KnownFormatsAreRecognisedByTheirFirstBytes) {
  for (std::string_view bytes : {"BM\x36\0\0\0"sv, "GIF89a..."sv, "\xFF\xD8\xFF\xE0"sv, "\x89PNG\r\n\x1A\n...."sv,
                                 "\0\0\1\0\1\0"sv, "II*\0"sv, "#define x_width 8\n"sv})
    EXPECT_TRUE(looksLikePicture(bytes)) << ::testing::PrintToString(bytes);
  for (std::string_view bytes : {"hello, world"sv, ""sv, "GIF"sv}) EXPECT_FALSE(looksLikePicture(bytes)) << bytes;
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
