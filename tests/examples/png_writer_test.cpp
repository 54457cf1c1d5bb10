// The sample pictures' PNG writer: its checksums, and files that a reader takes apart again.
#include "png_writer.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/picture_size.h"

namespace quelo::sample {
namespace {

uint32_t bigEndian(std::string_view bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

struct Chunk {
  std::string type, data;
};

// The chunks of a PNG file, each checked against its CRC.
std::vector<Chunk> chunks(std::string_view png) {
  std::vector<Chunk> out;
  for (size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = bigEndian(png, at);
    Chunk c{std::string(png.substr(at + 4, 4)), std::string(png.substr(at + 8, length))};
    EXPECT_EQ(bigEndian(png, at + 8 + length), crc32(png.substr(at + 4, 4 + length))) << c.type;
    out.push_back(std::move(c));
    at += 12 + length;
  }
  return out;
}

// The bytes inside a zlib stream of stored blocks, with its Adler-32 checked.
std::string unstore(std::string_view z, int& blocks) {
  EXPECT_EQ(z.substr(0, 2), std::string_view("\x78\x01", 2));
  const auto le16 = [z](size_t i) -> size_t { return uint8_t(z[i]) | uint8_t(z[i + 1]) << 8; };
  std::string raw;
  size_t at = 2;
  for (bool last = false; !last && at + 5 <= z.size(); ++blocks) {
    last = z[at] & 1;
    EXPECT_EQ(z[at] & 6, 0);  // stored
    const size_t n = le16(at + 1);
    EXPECT_EQ(n ^ le16(at + 3), 0xFFFFu);
    raw += z.substr(at + 5, n);
    at += 5 + n;
  }
  EXPECT_EQ(at + 4, z.size());
  EXPECT_EQ(bigEndian(z, at), adler32(raw));
  return raw;
}

TEST(PngWriter, ChecksumsOfKnownTexts) {
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(""), 0u);
  EXPECT_EQ(adler32("Wikipedia"), 0x11E60398u);
  EXPECT_EQ(adler32(""), 1u);
}

// A stored block holds at most 65535 bytes: 200 rows of 601 bytes take two blocks.
TEST(PngWriter, ImagesRoundTripThroughStoredBlocks) {
  for (const auto& [w, h, blocks] : {std::tuple{3, 2, 1}, std::tuple{200, 200, 2}}) {
    SCOPED_TRACE(w);
    RgbImage image{w, h, {}};
    std::string rows;  // unfiltered: a 0 byte, then each pixel's red, green and blue
    for (int32_t y = 0; y < h; ++y) {
      rows += '\0';
      for (int32_t x = 0; x < w; ++x) {
        image.pixels.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)});
        rows += {static_cast<char>(x), static_cast<char>(y), static_cast<char>(x ^ y)};
      }
    }
    const std::string png = encodePng(image);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(pictureSize(png), (PixelSize{w, h}));
    const std::vector<Chunk> parts = chunks(png);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].type + parts[1].type + parts[2].type, "IHDRIDATIEND");
    EXPECT_EQ(parts[0].data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));  // 8-bit RGB, not interlaced
    int stored = 0;
    EXPECT_EQ(unstore(parts[1].data, stored), rows);
    EXPECT_EQ(stored, blocks);
  }
}

}  // namespace
}  // namespace quelo::sample
