// Links between the pages of a report: page p of a report written to name<p>.htm links to its
// siblings by changing its own page number in its file name.
#pragma once

#include <cstdint>
#include <string>

namespace quelo {

// The file name of page i, as linked from the page at `filePath` whose number is curPage: the
// bare file name in lower case with every "<curPage>.htm" (or ".asp") made "<i>.htm", ignoring
// case; other names are kept.
std::string siblingPageName(const std::string& filePath, int32_t curPage, int32_t i);
// "<HR>" and a link to every other page, a line break before pages 13, 25, 37 ...
std::string pageNavigation(const std::string& filePath, int32_t curPage, int32_t totalPage);

}  // namespace quelo
