// The component's shared state: one copy per thread that uses the control, shared by every
// control instance on that thread. The first use on a thread is the component's start: the shared
// application path becomes the folder of the component file.
#pragma once

#include <memory>
#include <string>

#include "forms/form.h"

namespace quelo {

class Recordset;

struct SharedState {
  std::string applicationPath;  // always ends in a folder separator
  std::string developerCompany;
  std::shared_ptr<Recordset> reportRecordset;
  // The report form's AutoReporting flag: True while an automatic report drives the forms. Kept
  // here so that it outlives the report form's unload and the settings form can read it.
  bool reportAutoReporting = false;
  // The forms, one instance each per thread, created on first use.
  std::unique_ptr<forms::Form> reportForm, advancedSettingsForm, fileDialog, aboutBox;
};

SharedState& sharedState();
// The folder of the file that holds the component (the library, or the program it is linked
// into), with a trailing "/".
std::string componentFolder();

}  // namespace quelo
