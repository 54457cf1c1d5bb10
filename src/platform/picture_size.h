// The size in pixels of a picture file, read from its header: PNG, JPEG, GIF and BMP. Anything
// else, or a file that is truncated or not what it claims, has no size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace quelo {

struct PixelSize {
  int32_t width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};

std::optional<PixelSize> pictureSize(std::string_view bytes);
// Only a regular file has a size, and only as much of it is read as its header takes.
std::optional<PixelSize> pictureSize(FileSystem& fs, const std::string& path);

// Twips per pixel at the usual 96 pixels to the inch.
inline constexpr int32_t kTwipsPerPixel = 15;

}  // namespace quelo
