// The control as the report forms' host. Each request goes to the control object that the host's
// container names (which may be the host's own wrapper of it) as a call of the control's member,
// so a host sees the same calls that it would make itself.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "report_forms/report_host.h"

namespace quelo {

std::shared_ptr<ReportHost> reportHostOf(std::shared_ptr<Dispatch> control);

}  // namespace quelo
