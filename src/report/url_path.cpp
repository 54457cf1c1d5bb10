#include "report/url_path.h"

namespace quelo {
namespace {

bool needsEncoding(unsigned char c) {
  switch (c) {
    case ' ':
    case '#':
    case '%':
    case '?':
    case '"':
    case '\'':
    case '<':
    case '>':
      return true;
    default:
      return c < 0x20 || c == 0x7F;
  }
}

}  // namespace

std::string percentEncodedPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (!needsEncoding(c)) {
      out += ch;
      continue;
    }
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  return out;
}

std::string fileUrl(std::string_view absolutePath) {
  return "file://" + percentEncodedPath(absolutePath);
}

}  // namespace quelo
