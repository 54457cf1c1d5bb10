// The generation driver behind the report form's Generate button: checks the output fields and
// the file name, then writes every page (or the previewed one) as sections of five records into
// its "Vol" file under the Reports folder, raising or showing progress before each section slot
// and honouring cancel and delete-on-cancel; at the end it opens the report in the browser and
// prints it, as the form asks.
#pragma once

#include <string>

namespace quelo {

class QueloReportForm;
struct Platform;

// The page file name of page `page`: its number before the extension (name.htm gives name3.htm)
// when the report has more than one page, the base name itself otherwise.
std::string pageFileName(const std::string& baseName, int32_t page, int32_t totalPages);

// The base file name from what the user typed: its bare name when it holds a folder, an
// extension when it has none, lower case. Empty when nothing usable is left.
std::string reportBaseName(Platform& platform, const std::string& typed);

}  // namespace quelo
