#include "files/path_rules.h"

namespace quelo {

bool endsWithSeparator(std::string_view path) { return !path.empty() && isSeparator(path.back()); }

size_t lastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

size_t fileNameStart(std::string_view path) {
  size_t last = lastSeparator(path);
  if (last == std::string_view::npos) last = path.rfind(':');
  return last == std::string_view::npos ? 0 : last + 1;
}

std::string posixPath(std::string_view path) {
  const bool driveRelative = path.size() > 2 && path[1] == ':' && !isSeparator(path[2]);
  std::string out;
  out.reserve(path.size() + 1);
  for (size_t i = 0; i < path.size(); ++i) {
    out += path[i] == '\\' ? '/' : path[i];
    if (i == 1 && driveRelative) out += '/';
  }
  return out;
}

char separatorOf(std::string_view path) {
  const size_t last = lastSeparator(path);
  if (last != std::string_view::npos) return path[last];
  return path.find(':') != std::string_view::npos ? '\\' : '/';
}

std::string withTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (!endsWithSeparator(path)) out += separatorOf(path);
  return out;
}

bool isAnchoredPath(std::string_view path) {
  return path.find(':') != std::string_view::npos || (!path.empty() && path.front() == '/');
}

}  // namespace quelo
