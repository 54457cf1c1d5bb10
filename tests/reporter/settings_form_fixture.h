// A control on a headless site with a fresh component, and typed access to the settings form's
// controls.
#pragma once

#include <gtest/gtest.h>

#include "fakes/control_harness.h"
#include "reporter/advanced_settings_form.h"
#include "reporter/report_settings.h"

namespace quelo::testing {

class SettingsFormTest : public ::testing::Test {
 protected:
  QueloAdvancedSet& form() { return advancedSettingsForm(*h.component, h.platform()); }
  template <class T>
  T& ctl(std::string_view name, int index = -1) {
    return form().get<T>(name, index);
  }
  forms::TextBox& box(std::string_view name, int index = -1) { return ctl<forms::TextBox>(name, index); }
  forms::Label& label(std::string_view name, int index = -1) { return ctl<forms::Label>(name, index); }
  forms::OptionButton& option(std::string_view name, int index) { return ctl<forms::OptionButton>(name, index); }
  forms::CheckBox& check(std::string_view name) { return ctl<forms::CheckBox>(name); }
  // The font list as the shown form has it (it is filled when the form is shown).
  forms::ComboBox& fontBox() {
    form().show(false);
    return ctl<forms::ComboBox>("cboFontName");
  }
  const ReportSettings& working() { return h.component->state<SettingsState>().working; }
  Variant setting(int32_t which) { return h.control->call("AdvancedSettings", {Variant(which)}).valueOr(Variant("error")); }

  ControlHarness h;
};

}  // namespace quelo::testing
