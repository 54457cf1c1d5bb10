#include "files/file_names.h"

#include <algorithm>

#include "files/directory_lookup.h"
#include "files/path_rules.h"
#include "automation/text.h"

namespace quelo {
namespace {

// The separator that joins a rebuilt component: the one at `pos` in the path, where the component
// starts after one, else the path's own.
char joiningSeparator(std::string_view path, size_t pos) {
  return pos < path.size() && isSeparator(path[pos]) ? path[pos] : separatorOf(path);
}

}  // namespace

std::string justFileName(std::string_view path) {
  const size_t start = fileNameStart(path);
  if (start == 0) return std::string(path);
  return toUpper(path.substr(start));
}

std::string FileFolder(std::string_view path) { return std::string(path.substr(0, fileNameStart(path))); }

std::string ShortFileName(FileSystem& fs, std::string_view longName) {
  return storedPath(fs, longName) ? std::string(longName) : std::string();
}

std::string LongFileName(FileSystem& fs, std::string_view shortName) {
  if (shortName.empty()) return "";
  const bool drive = shortName.size() >= 2 && shortName[1] == ':';
  std::string result(drive ? shortName.substr(0, 2) : std::string_view());
  PrefixLookup lookup(fs, shortName);
  size_t scan = drive ? 2 : 0;  // the component to rebuild starts at or after this position
  for (;;) {
    const size_t next = shortName.find_first_of("\\/", scan + 1);
    result += joiningSeparator(shortName, scan);
    result += lookup.storedName(std::min(next, shortName.size()));
    if (next == std::string_view::npos) return result;
    scan = next;
  }
}

}  // namespace quelo
