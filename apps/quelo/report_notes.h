// The notes of 'quelo report': where a rule of the automatic report changed what the user typed
// (the records per page of a long report, a file name it could not take as it was), one line
// each saying what came of it and why. The rules stay; the user is told.
#pragma once

#include <string>
#include <vector>

#include "report/automatic_report.h"
#include "report_options.h"

namespace quelo::cli {

// The notes for a run with `options`, after `automatic` came back from the report.
std::vector<std::string> reportNotes(const ReportOptions& options,
                                     const AutomaticReport& automatic);

}  // namespace quelo::cli
