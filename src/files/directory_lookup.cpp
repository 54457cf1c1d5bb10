#include "files/directory_lookup.h"

#include "files/path_rules.h"
#include "platform/text.h"

namespace quelo {
namespace {

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The entry of `folder` whose name equals `name` but for case, first in name order.
std::optional<std::string> caseInsensitiveEntry(FileSystem& fs, const std::string& folder, std::string_view name) {
  auto entries = fs.list(folder.empty() ? "." : folder);
  if (!entries) return std::nullopt;
  const std::string wanted = toUpper(name);
  std::optional<std::string> found;
  for (const DirEntry& e : entries.value())
    if (toUpper(e.name) == wanted && (!found || e.name < *found)) found = e.name;
  return found;
}

std::optional<std::string> resolve(FileSystem& fs, const std::string& path) {
  if (fs.exists(path)) return path;
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return std::nullopt;
  std::string folder;  // "" is the current folder
  if (slash != std::string::npos) {
    auto parent = resolve(fs, withoutTrailingSlashes(path.substr(0, slash + 1)));
    if (!parent) return std::nullopt;
    folder = *parent;
  }
  auto entry = caseInsensitiveEntry(fs, folder, name);
  if (!entry) return std::nullopt;
  if (folder.empty()) return *entry;
  return folder + (folder.back() == '/' ? "" : "/") + *entry;
}

}  // namespace

std::optional<std::string> storedPath(FileSystem& fs, std::string_view path) {
  if (path.empty()) return std::nullopt;
  return resolve(fs, withoutTrailingSlashes(posixPath(path)));
}

std::string storedName(FileSystem& fs, std::string_view path) {
  if (endsWithSeparator(path)) return "";
  auto stored = storedPath(fs, path);
  if (!stored) return "";
  const size_t slash = stored->rfind('/');
  return slash == std::string::npos ? *stored : stored->substr(slash + 1);
}

}  // namespace quelo
