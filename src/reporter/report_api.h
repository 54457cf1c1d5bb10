// The typed reporting API seen from inside: a source over a record set the caller already holds
// (the control's automatic report, a host's record set), and the job a request describes.
#pragma once

#include <memory>

#include <varnikquelo/report.h>

#include "automation/status.h"
#include "reporter/report_job.h"

namespace quelo {

class Recordset;
struct Platform;

// A source that reports the records of `records`, from its first on.
varnikquelo::ReportSource recordsetSource(std::shared_ptr<Recordset> records);

// Makes the report with the given services instead of the machine's own.
varnikquelo::ReportResult makeReport(const varnikquelo::ReportRequest& request, Platform& platform);

}  // namespace quelo
