#include "reporter/page_links.h"

#include <vector>

#include "files/file_names.h"
#include "platform/text.h"

namespace quelo {
namespace {

// The page's own file name cut where "<curPage>.htm" (or ".asp") stands, so that any page number
// can be put in its place; a name without a page extension is one piece that takes none.
struct NameTemplate {
  std::vector<std::string> pieces;
  std::string extension;
};

NameTemplate nameTemplate(const std::string& filePath, int32_t curPage) {
  const std::string name = toLower(justFileName(filePath));
  const char* extension = name.ends_with(".htm") || name.ends_with(".html") ? ".htm"
                          : name.ends_with(".asp")                          ? ".asp"
                                                                            : nullptr;
  if (!extension) return {{name}, {}};
  return {splitText(name, std::to_string(curPage) + extension), extension};
}

std::string fill(const NameTemplate& t, int32_t page) {
  std::string out = t.pieces.front();
  const std::string marker = std::to_string(page) + t.extension;
  for (size_t k = 1; k < t.pieces.size(); ++k) out += marker + t.pieces[k];
  return out;
}

}  // namespace

std::string siblingPageName(const std::string& filePath, int32_t curPage, int32_t i) {
  return fill(nameTemplate(filePath, curPage), i);
}

std::string pageNavigation(const std::string& filePath, int32_t curPage, int32_t totalPage) {
  const NameTemplate name = nameTemplate(filePath, curPage);
  std::string out = "<HR>";
  for (int32_t i = 1; i <= totalPage; ++i) {
    if (i == curPage) continue;
    if (i % 12 == 1 && i > 1) out += "<Br>";
    out += "<A HRef='";
    out += fill(name, i);
    out += "'>Vol ";
    out += std::to_string(i);
    out += "</A>...";
  }
  return out;
}

}  // namespace quelo
