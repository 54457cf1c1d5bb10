#include "platform/posix/sniffing_picture_loader.h"

namespace quelo {

bool SniffingPictureLoader::isPicture(const std::string& path) {
  constexpr size_t kSniffed = 128;  // the most looksLikePicture looks at: a PCX header
  auto bytes = files_.readPrefix(path, kSniffed);
  return bytes && looksLikePicture(bytes.value());
}

}  // namespace quelo
