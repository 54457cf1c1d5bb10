// The generation driver: runs a report job. It writes every page of the job (or its one page) as
// sections of five records into its "Vol" file under the Reports folder, reporting progress
// before each section slot and honouring cancel and delete-on-cancel; at the end it opens the
// report in the browser and prints it, as the job asks. It knows no form: the report form and the
// automatic report build the job and the progress sink.
#pragma once

#include <cstdint>
#include <string>

#include "report/report_job.h"

namespace quelo {

struct HyperlinkState;
struct Platform;

// The page file name of page `page`: its number before the extension (name.htm gives name3.htm)
// when the report has more than one page, the base name itself otherwise.
std::string pageFileName(const std::string& baseName, int32_t page, int32_t totalPages);

// The base file name from what the user typed: its bare name when it holds a folder, an
// extension when it has none, lower case. Empty when nothing usable is left.
std::string reportBaseName(Platform& platform, const std::string& typed);

// Runs `job` with the platform's files, clock, event loop, shell and browser. The host's events
// run before every progress step. A page is written whole or not at all; only pages put in place
// are listed in the outcome. The first page opens in the browser through `links`, the
// component's hyperlink state.
ReportOutcome runReport(const ReportJob& job, Platform& platform, ReportProgress& progress,
                        HyperlinkState& links);

}  // namespace quelo
