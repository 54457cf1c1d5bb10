// The typed reporting API's entry point for callers without services of their own: the report
// is made with the machine's (files, clock, shell, browser), headless.
#include <varnikquelo/report.h>

#include "control/default_services.h"
#include "report/report_api.h"

namespace varnikquelo {

ReportResult makeReport(const ReportRequest& request) {
  auto services = quelo::makeDefaultServices();
  quelo::Platform platform = services->platform();
  return quelo::makeReport(request, platform);
}

}  // namespace varnikquelo
