#include "reporter/page_links.h"

#include "files/file_names.h"
#include "platform/text.h"

namespace quelo {
std::string siblingPageName(const std::string& filePath, int32_t curPage, int32_t i) {
  const std::string name = toLower(justFileName(filePath));
  const char* extension = name.ends_with(".htm") || name.ends_with(".html") ? ".htm"
                          : name.ends_with(".asp")                          ? ".asp"
                                                                            : nullptr;
  if (!extension) return name;
  return replaceAll(name, std::to_string(curPage) + extension, std::to_string(i) + extension);
}

std::string pageNavigation(const std::string& filePath, int32_t curPage, int32_t totalPage) {
  std::string out = "<HR>";
  for (int32_t i = 1; i <= totalPage; ++i) {
    if (i == curPage) continue;
    if (i % 12 == 1 && i > 1) out += "<Br>";
    out += "<A HRef='" + siblingPageName(filePath, curPage, i) + "'>Vol " + std::to_string(i) + "</A>...";
  }
  return out;
}

}  // namespace quelo
