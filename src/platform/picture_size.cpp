#include "platform/picture_size.h"

namespace quelo {
namespace {

uint32_t be16(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]));
}
uint32_t be32(std::string_view b, size_t at) { return be16(b, at) << 16 | be16(b, at + 2); }
uint32_t le16(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t le32(std::string_view b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

std::optional<PixelSize> sized(int64_t w, int64_t h) {
  if (w <= 0 || h <= 0 || w > 1 << 20 || h > 1 << 20) return std::nullopt;
  return PixelSize{static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

std::optional<PixelSize> png(std::string_view b) {
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
  return sized(be32(b, 16), be32(b, 20));
}

std::optional<PixelSize> gif(std::string_view b) {
  if (b.size() < 10) return std::nullopt;
  return sized(le16(b, 6), le16(b, 8));
}

std::optional<PixelSize> bmp(std::string_view b) {
  if (b.size() < 26) return std::nullopt;
  const uint32_t header = le32(b, 14);
  if (header == 12) return sized(le16(b, 18), le16(b, 20));
  if (b.size() < 26 || header < 40) return std::nullopt;
  const auto height = static_cast<int32_t>(le32(b, 22));  // negative: rows top-down
  return sized(static_cast<int32_t>(le32(b, 18)), height < 0 ? -static_cast<int64_t>(height) : height);
}

// Walks the JPEG segments to the first start-of-frame marker.
std::optional<PixelSize> jpeg(std::string_view b) {
  size_t at = 2;
  while (at + 4 <= b.size()) {
    if (static_cast<unsigned char>(b[at]) != 0xFF) return std::nullopt;
    const auto marker = static_cast<unsigned char>(b[at + 1]);
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    const uint32_t length = be16(b, at + 2);
    const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame) {
      if (at + 9 > b.size()) return std::nullopt;
      return sized(be16(b, at + 7), be16(b, at + 5));
    }
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PixelSize> pictureSize(std::string_view b) {
  if (b.starts_with("\x89PNG\r\n\x1a\n")) return png(b);
  if (b.starts_with("GIF87a") || b.starts_with("GIF89a")) return gif(b);
  if (b.starts_with("BM")) return bmp(b);
  if (b.starts_with("\xFF\xD8")) return jpeg(b);
  return std::nullopt;
}

// PNG, GIF and BMP give their size within their first few dozen bytes. A JPEG's frame header
// follows its metadata segments, so more of a JPEG is read, a growing prefix at a time, up to a cap.
std::optional<PixelSize> pictureSize(FileSystem& fs, const std::string& path) {
  constexpr size_t kFirstRead = 4096, kLargestJpegHeader = size_t{16} << 20;
  if (path.empty()) return std::nullopt;
  for (size_t want = kFirstRead;; want *= 16) {
    auto bytes = fs.readPrefix(path, want);
    if (!bytes) return std::nullopt;
    const std::string& b = bytes.value();
    const std::optional<PixelSize> size = pictureSize(b);
    if (size || b.size() < want || want >= kLargestJpegHeader || !b.starts_with("\xFF\xD8")) return size;
  }
}

}  // namespace quelo
