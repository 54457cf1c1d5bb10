// A minimal PNG writer for the sample pictures: 8-bit RGB, no filtering, the image data in
// stored (uncompressed) deflate blocks, with its own CRC-32 and Adler-32 so that nothing beyond
// the standard library is needed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quelo::sample {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// An image of width x height pixels, row by row from the top left.
struct RgbImage {
  int32_t width = 0, height = 0;
  std::vector<Rgb> pixels;
};

// CRC-32 as PNG chunks use it (the ISO 3309 polynomial, reflected).
uint32_t crc32(std::string_view bytes, uint32_t crc = 0);
// Adler-32 as the zlib stream trailer uses it.
uint32_t adler32(std::string_view bytes);

// The whole PNG file. REQUIRES: 0 < width, 0 < height, pixels.size() == width * height.
std::string encodePng(const RgbImage& image);

}  // namespace quelo::sample
