#include "report/earlier_pages.h"

#include "report/generation_driver.h"

namespace quelo {

bool isPageOfReport(const std::string& name, const std::string& baseName) {
  if (name == baseName) return true;
  // The page number goes before the first ".htm" (or ".asp"): the name must hold digits there.
  size_t at = baseName.find(".htm");
  if (at == std::string::npos) at = baseName.find(".asp");
  if (at == std::string::npos || name.size() <= baseName.size() ||
      name.compare(0, at, baseName, 0, at) != 0)
    return false;
  const size_t digits = name.size() - baseName.size();
  if (digits > 5) return false;  // no report has more pages than a 16-bit count holds
  const std::string number = name.substr(at, digits);
  if (number.find_first_not_of("0123456789") != std::string::npos) return false;
  const long page = std::stol(number);
  return page >= 1 && pageFileName(baseName, static_cast<int32_t>(page), 2) == name;
}

Status removeEarlierPages(FileSystem& files, const std::string& folder,
                          const std::string& baseName) {
  if (!files.isDirectory(folder)) return Status::ok();
  auto entries = files.list(folder);
  if (!entries) return entries.error();
  for (const DirEntry& e : entries.value()) {
    if (!isPageOfReport(e.name, baseName)) continue;
    const std::string path = folder + e.name;
    if (files.isSymlink(path) || !e.isDirectory)
      if (Status s = files.remove(path); !s) return s;
  }
  return Status::ok();
}

}  // namespace quelo
