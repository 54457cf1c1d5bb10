// The automatic report's settings and field choices, written into the settings form's and the
// report form's controls before Apply and Generate: the host's forFutureUse array (or the
// defaults), and the field-choice collection that picks the output fields and the fields to sum.
#pragma once

#include <memory>

#include "automation/variant.h"

namespace quelo {

class Collection;
class QueloAdvancedSet;
class QueloReportForm;

// Backs up the settings form's ten controls and the working settings, writes the host's settings
// into the controls and applies the field choices (none: every field is output and summed).
void applyAutoSettings(QueloAdvancedSet& settings, QueloReportForm& report,
                       const Variant& forFutureUse,
                       const std::shared_ptr<Collection>& fieldChoices);
// After the report: the controls and the working settings as they were before applyAutoSettings,
// so the automatic report's settings hold for it alone and are never stored as the user's.
void restoreUserSettings(QueloAdvancedSet& settings);

}  // namespace quelo
