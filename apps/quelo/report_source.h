// The data of 'quelo report': the record set of the chosen source, or the bundled sample data
// when no source is given. It is a counted run, read once as the pages are written; a CSV file
// is read through once first, so a malformed line, like a failing query, stops the command
// before any page is written.
#pragma once

#include <memory>

#include "automation/status.h"
#include "report_options.h"

namespace quelo {
class Recordset;
}

namespace quelo::cli {

// With no source given: the sample pictures for --pic-fields and --graphic-folder, unless the
// user gave those.
void useSampleDefaults(ReportOptions& options);

// The records of the source; an Error says which source failed and why.
Result<std::shared_ptr<Recordset>> openReportSource(const ReportOptions& options);

}  // namespace quelo::cli
