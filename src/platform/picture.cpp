#include "platform/picture.h"

namespace quelo {
namespace {

constexpr int kInvalidPicture = 481;

bool startsWith(std::string_view bytes, std::string_view magic) { return bytes.substr(0, magic.size()) == magic; }

}  // namespace

Picture::Picture(std::string path) : path_(std::move(path)) {
  bind("Path", InvokeKind::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(path_); });
}

bool looksLikePicture(std::string_view b) {
  using namespace std::string_view_literals;
  if (startsWith(b, "BM") || startsWith(b, "GIF87a") || startsWith(b, "GIF89a")) return true;
  if (startsWith(b, "\xFF\xD8\xFF"sv) || startsWith(b, "\x89PNG\r\n\x1A\n"sv)) return true;
  if (startsWith(b, "\0\0\1\0"sv) || startsWith(b, "\0\0\2\0"sv)) return true;  // icon, cursor
  if (startsWith(b, "II*\0"sv) || startsWith(b, "MM\0*"sv)) return true;        // TIFF
  if (startsWith(b, "\xD7\xCD\xC6\x9A"sv) || startsWith(b, "\1\0\x09\0"sv) || startsWith(b, "\2\0\x09\0"sv))
    return true;  // metafile, placeable or plain
  if (b.size() >= 44 && startsWith(b, "\1\0\0\0"sv) && b.substr(40, 4) == " EMF") return true;
  if (b.size() >= 128 && b[0] == '\x0A' && b[2] == '\x01') return true;  // PCX
  return startsWith(b, "#define ");                                      // XBM
}

Result<std::shared_ptr<Picture>> loadPicture(PictureLoader& loader, const std::string& path) {
  if (path.empty()) return std::make_shared<Picture>("");
  if (!loader.isPicture(path)) return makeError(kInvalidPicture, "Invalid picture");
  return std::make_shared<Picture>(path);
}

}  // namespace quelo
