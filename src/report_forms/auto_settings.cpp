#include "report_forms/auto_settings.h"

#include <array>

#include "automation/collection.h"
#include "component/component.h"
#include "report/automatic_report.h"
#include "report/report_settings.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {

void setText(TextBox& box, const Variant& v) {
  if (auto t = toString(v); t && !v.isMissing()) box.setText(t.value());
}
void setCaption(Label& label, const Variant& v) {
  if (auto t = toString(v); t && !v.isMissing()) label.setCaption(t.value());
}
void setOption(OptionButton& option, const Variant& v) {
  if (auto b = toBool(v); b && !v.isMissing()) option.setValue(b.value());
}

void backUp(QueloAdvancedSet& s) {
  auto& b = s.component().reportSettings.backup;
  b[Ra_Header] = Variant(s.get<TextBox>("txtHeaderFooter", 0).text());
  b[Ra_Footer] = Variant(s.get<TextBox>("txtHeaderFooter", 1).text());
  b[Ra_UseNotes] = Variant(s.get<CheckBox>("chkNotes").value() != 0);
  b[Ra_NotesOnTop] = Variant(s.get<OptionButton>("OptNotesPosition", 0).value());
  b[Ra_Notes] = Variant(s.get<TextBox>("txtNotes").text());
  b[Ra_Logo] = Variant(s.get<Label>("lblLogo", 0).caption());
  b[Ra_Signature] = Variant(s.get<Label>("lblLogo", 1).caption());
  b[Ra_Website] = Variant(s.get<TextBox>("txtLink", 0).text());
  b[Ra_Email] = Variant(s.get<TextBox>("txtLink", 1).text());
  b[Ra_AllPages] = Variant(s.get<OptionButton>("OptPages", 0).value());
}

void writeControls(QueloAdvancedSet& s, const std::array<Variant, 10>& v) {
  setText(s.get<TextBox>("txtHeaderFooter", 0), v[Ra_Header]);
  setText(s.get<TextBox>("txtHeaderFooter", 1), v[Ra_Footer]);
  if (auto b = toBool(v[Ra_UseNotes]); b && !v[Ra_UseNotes].isMissing())
    s.get<CheckBox>("chkNotes").setValue(b.value() ? 1 : 0);
  setOption(s.get<OptionButton>("OptNotesPosition", 0), v[Ra_NotesOnTop]);
  setText(s.get<TextBox>("txtNotes"), v[Ra_Notes]);
  setCaption(s.get<Label>("lblLogo", 0), v[Ra_Logo]);
  setCaption(s.get<Label>("lblLogo", 1), v[Ra_Signature]);
  setText(s.get<TextBox>("txtLink", 0), v[Ra_Website]);
  setText(s.get<TextBox>("txtLink", 1), v[Ra_Email]);
  setOption(s.get<OptionButton>("OptPages", 0), v[Ra_AllPages]);
}

}  // namespace

void applyAutoSettings(QueloAdvancedSet& settings, QueloReportForm& report,
                       const Variant& forFutureUse,
                       const std::shared_ptr<Collection>& fieldChoices) {
  SettingsState& state = settings.component().reportSettings;
  backUp(settings);
  state.userWorking = state.working;
  writeControls(settings, requestedSettings(state.working, forFutureUse));
  auto& sums = settings.get<ListBox>("lstFields");
  for (int32_t i = 0; i < sums.listCount(); ++i) {
    if (summedByChoice(choiceFor(fieldChoices, sums.list(i)))) sums.setSelected(i, true);
  }
  auto& output = report.get<ListBox>("lstOutput");
  const auto& available = report.get<ListBox>("lstAvailable");
  output.clear();
  for (int32_t i = 0; i < available.listCount(); ++i) {
    if (outputByChoice(choiceFor(fieldChoices, available.list(i))))
      output.addItem(available.list(i));
  }
}

void restoreUserSettings(QueloAdvancedSet& settings) {
  settings.RevertToRealAdvSettings(true);
  SettingsState& state = settings.component().reportSettings;
  state.working = state.userWorking;
}

}  // namespace quelo
