// Component: what the controls of one thread share. A host makes one per thread that uses the
// control and hands it to every control it creates there: the shared application path and
// developer company, the report's record set and AutoReporting flag, the four forms (one
// instance each, made on first use), the report preferences, the preview's tables and the
// hyperlink opener's state. Making one is the component's
// start: the application path becomes the folder of the component file. Nothing here is global:
// two components, on one thread or on two, share nothing.
#pragma once

#include <memory>
#include <string>

#include "component/hyperlink_state.h"
#include "component/preview_tables.h"
#include "component/report_settings_state.h"
#include "forms/form.h"

namespace quelo {

class Recordset;

class Component {
 public:
  Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  ~Component();

  // The shared application path and developer company: the defaults of every control's own
  // ApplicationPath and DeveloperCompany, which each control keeps apart from these. The report,
  // the file dialog and the message log's title read these; the message log's folder is the
  // control's own path.
  std::string applicationPath;  // always ends in a folder separator
  std::string developerCompany;
  std::shared_ptr<Recordset> reportRecordset;
  // The report form's AutoReporting flag: True while an automatic report drives the forms. Kept
  // here so that it outlives the report form's unload and the settings form can read it.
  bool reportAutoReporting = false;
  // The forms, created on first use by the feature that shows them.
  std::unique_ptr<forms::Form> reportForm, advancedSettingsForm, fileDialog, aboutBox;

  // The features' states, kept while the component lives.
  SettingsState reportSettings;
  PreviewTables previewTables;
  HyperlinkState hyperlinks;

  // The control's Terminate: the report's record set and the forms go; the flags and the
  // features' states stay for the next control.
  void releaseForms();
};

}  // namespace quelo
