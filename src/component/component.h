// Component: what the controls of one thread share. A host makes one per thread that uses the
// control and hands it to every control it creates there: the shared application path and
// developer company, the report's record set and AutoReporting flag, the four forms (one
// instance each, made on first use) and each feature's own state. Making one is the component's
// start: the application path becomes the folder of the component file. Nothing here is global:
// two components, on one thread or on two, share nothing.
#pragma once

#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>

#include "forms/form.h"

namespace quelo {

class Recordset;

class Component {
 public:
  Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  ~Component();

  std::string applicationPath;  // always ends in a folder separator
  std::string developerCompany;
  std::shared_ptr<Recordset> reportRecordset;
  // The report form's AutoReporting flag: True while an automatic report drives the forms. Kept
  // here so that it outlives the report form's unload and the settings form can read it.
  bool reportAutoReporting = false;
  // The forms, created on first use by the feature that shows them.
  std::unique_ptr<forms::Form> reportForm, advancedSettingsForm, fileDialog, aboutBox;

  // A feature's own state (a default-constructed T on first use), kept while the component
  // lives. Each feature names its own type, so this layer knows none of them.
  template <class T>
  T& state() {
    std::shared_ptr<void>& slot = states_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_shared<T>();
    return *static_cast<T*>(slot.get());
  }

  // The control's Terminate: the report's record set and the forms go; the flags and the
  // features' states stay for the next control.
  void releaseForms();

 private:
  std::unordered_map<std::type_index, std::shared_ptr<void>> states_;
};

}  // namespace quelo
