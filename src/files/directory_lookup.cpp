#include "files/directory_lookup.h"

#include <climits>

#include "files/path_rules.h"
#include "automation/text.h"

namespace quelo {
namespace {

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

// The length of `path` without its trailing "/", a lone "/" kept.
size_t withoutTrailingSlashes(std::string_view path, size_t length) {
  while (length > 1 && path[length - 1] == '/') --length;
  return length;
}

}  // namespace

PrefixLookup::PrefixLookup(FileSystem& fs, std::string_view path) : fs_(fs), path_(path), posix_(posixPath(path)) {}

std::optional<std::string> PrefixLookup::storedPath(size_t length) {
  auto stored = resolve(length);
  if (!stored) return std::nullopt;
  return std::string(*stored);
}

std::string PrefixLookup::storedName(size_t length) {
  if (endsWithSeparator(path_.substr(0, length))) return "";
  auto stored = resolve(length);
  if (!stored) return "";
  const size_t slash = stored->rfind('/');
  return std::string(slash == std::string_view::npos ? *stored : stored->substr(slash + 1));
}

std::optional<std::string_view> PrefixLookup::resolve(size_t length) {
  // posixPath adds one separator, after a drive that a name follows ("C:x" is read as "C:/x").
  if (length > 2) length += posix_.size() - path_.size();
  const size_t end = withoutTrailingSlashes(posix_, length);
  if (end == 0) return std::nullopt;
  if (end == 1 && posix_[0] == '/') return fs_.exists("/") ? std::optional<std::string_view>("/") : std::nullopt;
  while (!lost_ && walked_ < end) {
    const size_t start = posix_.find_first_not_of('/', walked_);
    step(start, std::min(posix_.find('/', start), posix_.size()));
  }
  if (lost_) return std::nullopt;
  return spelled_ ? std::string_view(posix_).substr(0, end) : std::string_view(stored_);
}

// A prefix that exists as spelled is its own stored path, and so is each shorter one; once one
// does not, each component is looked for in the stored folder before it.
void PrefixLookup::step(size_t start, size_t end) {
  if (end - start > NAME_MAX || end >= PATH_MAX) {
    lost_ = true;
    return;
  }
  if (spelled_) {
    if (wholeExists() || fs_.exists(posix_.substr(0, end))) {
      walked_ = end;
      return;
    }
    spelled_ = false;
    stored_ = walked_ > 0 ? posix_.substr(0, walked_) : start > 0 ? "/" : "";  // "" is the current folder
  }
  auto entry = caseInsensitiveEntry(fs_, stored_, std::string_view(posix_).substr(start, end - start));
  if (!entry) {
    lost_ = true;
    return;
  }
  if (!stored_.empty() && stored_.back() != '/') stored_ += '/';
  stored_ += *entry;
  walked_ = end;
}

// When the whole path exists as spelled, so does every prefix: one check stands for them all.
bool PrefixLookup::wholeExists() {
  if (!wholeExists_) {
    const size_t end = withoutTrailingSlashes(posix_, posix_.size());
    wholeExists_ = end < PATH_MAX && fs_.exists(posix_.substr(0, end));
  }
  return *wholeExists_;
}

std::optional<std::string> storedPath(FileSystem& fs, std::string_view path) {
  return PrefixLookup(fs, path).storedPath(path.size());
}

std::string storedName(FileSystem& fs, std::string_view path) { return PrefixLookup(fs, path).storedName(path.size()); }

}  // namespace quelo
