// ReportHost: what the report forms ask of the control that shows them. The control hands one to
// the settings form when a report starts; the forms never reach the control by member name.
#pragma once

#include <cstdint>
#include <string>

#include "automation/variant.h"
#include "report/report_job.h"

namespace quelo {

class ReportHost {
 public:
  virtual ~ReportHost() = default;

  // The records a page holds as the control's MaxRecsPerPage says; 0 when it cannot be read.
  virtual int16_t recordsPerPage() = 0;

  // The control's file dialog: the file chosen with it, or an empty name. `fileTypes` picks the
  // dialog's list of types; `mustExist` asks for a file to open rather than one to save.
  virtual std::string supplyFileName(const std::string& caption, const std::string& folder,
                                     int32_t fileTypes, bool mustExist) = 0;

  // Raises the control's ReportStatus event before a section of an automatic report. The host's
  // answers come back in `cancel`, `deleteOnCancel` and `spare` (the host's own value, handed back
  // at the next event); a failed raise leaves them as they were.
  virtual void raiseReportStatus(const SectionStep& where, bool& cancel, bool& deleteOnCancel,
                                 Variant& spare) = 0;
};

}  // namespace quelo
