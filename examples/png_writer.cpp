#include "png_writer.h"

#include <algorithm>
#include <array>

namespace quelo::sample {
namespace {

constexpr size_t kStoredBlockMax = 65535;

void putBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void putChunk(std::string& out, std::string_view type, std::string_view data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out += type;
  out += data;
  putBigEndian(out, crc32(std::string_view(out).substr(start)));
}

// The raw scanlines: a filter byte 0 (none) before each row of RGB bytes.
std::string scanlines(const RgbImage& image) {
  std::string raw;
  raw.reserve(static_cast<size_t>(image.height) * (1 + 3 * static_cast<size_t>(image.width)));
  for (int32_t y = 0; y < image.height; ++y) {
    raw += '\0';
    for (int32_t x = 0; x < image.width; ++x) {
      const Rgb& p = image.pixels[static_cast<size_t>(y) * image.width + x];
      raw += static_cast<char>(p.r);
      raw += static_cast<char>(p.g);
      raw += static_cast<char>(p.b);
    }
  }
  return raw;
}

// A zlib stream of stored deflate blocks: header, blocks of at most 65535 bytes, Adler-32.
std::string storedZlib(std::string_view raw) {
  std::string out = "\x78\x01";
  size_t at = 0;
  do {
    const size_t n = std::min(kStoredBlockMax, raw.size() - at);
    const bool last = at + n == raw.size();
    out += static_cast<char>(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    out += static_cast<char>(n & 0xFF);
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(~n & 0xFF);
    out += static_cast<char>((~n >> 8) & 0xFF);
    out += raw.substr(at, n);
    at += n;
  } while (at < raw.size());
  putBigEndian(out, adler32(raw));
  return out;
}

}  // namespace

uint32_t crc32(std::string_view bytes, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t adler32(std::string_view bytes) {
  constexpr uint32_t kModulus = 65521;
  uint32_t a = 1, b = 0;
  for (unsigned char c : bytes) {
    a = (a + c) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::string encodePng(const RgbImage& image) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  putBigEndian(header, static_cast<uint32_t>(image.width));
  putBigEndian(header, static_cast<uint32_t>(image.height));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", storedZlib(scanlines(image)));
  putChunk(png, "IEND", "");
  return png;
}

}  // namespace quelo::sample
