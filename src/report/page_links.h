// Links between the pages of a report: page p of a report written to name<p>.htm links to its
// siblings by changing its own page number in its file name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/page_text.h"

namespace quelo {

// The links at the foot of a report's pages. The links to all pages are built once for all the
// pages whose names follow the same template, as every page repeats them but its own.
class PageNavigation {
 public:
  PageNavigation();
  ~PageNavigation();
  // Appends "<HR>" and a link to every other page, a line break before pages 13, 25, 37 ...
  // The links are shared with the other pages, not copied into each.
  void appendLinks(PageText& out, const std::string& filePath, int32_t curPage, int32_t totalPage);

 private:
  struct PageLinks;
  std::unique_ptr<PageLinks> built_;
};

// The links from a section to the other sections of its page: "<A HRef='#Section<i>'>Section<i>
// </A>..." for i from 1 to `last`, a line break before sections 10, 19, 28 ... (also where the
// section's own link is left out). Built once per page, as every section of the page repeats them.
class SectionLinks {
 public:
  explicit SectionLinks(int32_t last);
  int32_t last() const { return static_cast<int32_t>(starts_.size()) - 1; }
  // Appends the links of every section but `own` (0 or beyond `last`: all of them).
  void appendExcept(std::string& out, int32_t own) const;

 private:
  std::string text_;
  std::vector<size_t> starts_;  // where the link to section i starts; starts_[0] unused
  std::vector<size_t> ends_;
};

}  // namespace quelo
