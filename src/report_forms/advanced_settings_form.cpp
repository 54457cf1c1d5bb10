// QueloAdvancedSet's behaviour: load, Apply, Cancel, save and revert of the working settings, and
// the events of its controls.
#include "report_forms/advanced_settings_form.h"

#include <cstdlib>

#include "automation/text.h"
#include "component/component.h"
#include "component/hyperlink_state.h"
#include "files/file_names.h"
#include "files/path_rules.h"
#include "hyperlink/hyperlink_opener.h"
#include "report/automatic_report.h"
#include "report/reg_settings.h"
#include "report/report_settings.h"

namespace quelo {

using forms::CheckBox;
using forms::ComboBox;
using forms::CommandButton;
using forms::Label;
using forms::OptionButton;
using forms::TextBox;

namespace {

constexpr int32_t kPictureFiles = 2;  // Ze_Picture_Files

// A check box takes only its three states; any other value is skipped.
void setCheck(CheckBox& box, int value) {
  if (value >= 0 && value <= 2) box.setValue(value);
}

// Whether a chosen file name names a picture of a kind the report pages can show: it holds one
// of the extensions, in any case, after its first character.
bool namesAPicture(std::string_view name) {
  if (name.size() < 2) return false;
  const std::string rest = toLower(name.substr(1));
  for (const char* extension : {".jpg", ".jpeg", ".jpe", ".gif", ".png"})
    if (rest.find(extension) != std::string::npos) return true;
  return false;
}

void selectWholeText(TextBox& box) {
  box.setSelStart(0);
  box.setSelLength(static_cast<int32_t>(box.text().size()));
}

}  // namespace

QueloAdvancedSet::QueloAdvancedSet(Component& component, Platform platform)
    : Form("QueloAdvancedSet", *platform.presenter), component_(component), platform_(platform) {
  addListener([this](Form&, forms::FormEvent what) {
    if (what == forms::FormEvent::Show) listFonts();
  });
}

void QueloAdvancedSet::wireEvents() {
  get<CommandButton>("cmdApply").onClick = [this] { cmdApply_Click(); };
  get<CommandButton>("CancelButton").onClick = [this] { cancelButtonClick(); };
  for (TextBox* box :
       {&get<TextBox>("txtHeaderFooter", 0), &get<TextBox>("txtHeaderFooter", 1),
        &get<TextBox>("txtLink", 0), &get<TextBox>("txtLink", 1), &get<TextBox>("txtNotes")})
    box->onGotFocus = [box] { selectWholeText(*box); };
  for (int i = 0; i < 2; ++i) {
    get<CommandButton>("cmdLogo", i).onClick = [this, i] { cmdLogoClick(i); };
    get<TextBox>("txtLink", i).onKeyDown = [this, i](int& keyCode, int) {
      linkKeyDown(i, keyCode);
    };
  }
  auto& font = get<ComboBox>("cboFontName");
  font.onLostFocus = [this, &font] { get<Label>("lblFontName").setFontName(font.text()); };
}

// Reading the installed fonts takes longer than a small report: the list is filled when the form
// is shown, or when Apply needs it to tell whether the font read at load is installed.
void QueloAdvancedSet::listFonts() {
  if (fontsListed_) return;
  fontsListed_ = true;
  auto& fontList = get<ComboBox>("cboFontName");
  for (std::string& name : fontChoices(platform_.fonts)) fontList.addItem(std::move(name));
  for (int32_t i = 0; i < fontList.listCount(); ++i) {
    if (fontList.list(i) != loadedFont_) continue;
    fontList.setListIndex(i);
    break;
  }
}

void QueloAdvancedSet::formLoad() {
  fontsListed_ = false;
  SettingsRecord& s = component_.reportSettings.working;
  readStoredSettings(platform_.settings, s);
  loadedFont_ = s.fontName;
  get<Label>("lblFontName").setFontName(s.fontName);
  RevertToRealAdvSettings(false);
}

void QueloAdvancedSet::cmdApply_Click() {
  advSettings_ = true;
  SettingsRecord& s = component_.reportSettings.working;
  // Unlisted, the list would select the font read at load when installed, else nothing: either
  // way the default font when that is the one read.
  if (loadedFont_ != kDefaultFontName) listFonts();
  const std::string font = get<ComboBox>("cboFontName").text();
  s.fontName = font.empty() ? std::string(kDefaultFontName) : font;
  s.header = trimSpaces(get<TextBox>("txtHeaderFooter", 0).text());
  s.footer = trimSpaces(get<TextBox>("txtHeaderFooter", 1).text());
  s.useNotes = static_cast<int16_t>(get<CheckBox>("chkNotes").value());
  s.notesPosition = get<OptionButton>("OptNotesPosition", 0).value() ? 0 : 1;
  s.notes = trimSpaces(get<TextBox>("txtNotes").text());
  s.logo = trimSpaces(get<Label>("lblLogo", 0).caption());
  s.signature = trimSpaces(get<Label>("lblLogo", 1).caption());
  s.website = trimSpaces(get<TextBox>("txtLink", 0).text());
  s.email = trimSpaces(get<TextBox>("txtLink", 1).text());
  s.pagesOption = get<OptionButton>("OptPages", 0).value() ? 0 : 1;
  s.saveSettings = static_cast<int16_t>(get<CheckBox>("chkSave").value());
  if (!component_.reportAutoReporting) hide();
}

void QueloAdvancedSet::cancelButtonClick() {
  advSettings_ = false;
  hide();
}

void QueloAdvancedSet::cmdLogoClick(int index) {
  auto* shown = dynamic_cast<Label*>(find("lblLogo", index));
  if (!shown) return;
  const std::string pictures = component_.applicationPath + "Pictures";
  if (!platform_.files->isDirectory(pictures)) (void)platform_.files->createDirectory(pictures);
  const std::string caption = std::string("Select a Jpeg or Gif or Png image to use") +
                              (index == 0 ? " as Logo " : " as Signature ") + "in Report";
  // The starting folder keeps its case: on Linux a lower-cased path may name no folder.
  std::string name = myfControl_
                         ? myfControl_->supplyFileName(caption, withTrailingSeparator(pictures),
                                                       kPictureFiles, true)
                         : "";
  if (!namesAPicture(name)) name.clear();
  shown->setCaption(name.empty() ? std::string() : ShortFileName(*platform_.files, name));
}

// F3 in a link box opens what it holds: the website in a new browser window, the e-mail address
// in a new message.
void QueloAdvancedSet::linkKeyDown(int index, int keyCode) {
  if (keyCode != forms::key::kF3) return;
  const std::string target = trimSpaces(get<TextBox>("txtLink", index).text());
  if (target.empty()) return;
  if (index == 0)
    (void)activateLink(platform_, component_.hyperlinks, LinkMode::OpenTarget, target, true);
  else
    (void)activateLink(platform_, component_.hyperlinks, LinkMode::Mail, target, false);
}

void QueloAdvancedSet::SaveUserSettings() {
  SettingsRecord& s = component_.reportSettings.working;
  if (s.saveSettings != 1) return;
  fillEmptyTexts(s);
  (void)writeRegSetting(platform_.settings, formatSettingsRecord(s), kReportSettingName);
}

void QueloAdvancedSet::RevertToRealAdvSettings(bool fromDeveloperChanges) {
  if (fromDeveloperChanges) return showBackup();
  const SettingsRecord& s = component_.reportSettings.working;
  get<TextBox>("txtHeaderFooter", 0).setText(s.header);
  get<TextBox>("txtHeaderFooter", 1).setText(s.footer);
  setCheck(get<CheckBox>("chkNotes"), s.useNotes);
  // An index without its option button is skipped.
  if (auto* at = dynamic_cast<OptionButton*>(find("OptNotesPosition", s.notesPosition)))
    at->setValue(true);
  get<TextBox>("txtNotes").setText(s.notes);
  get<Label>("lblLogo", 0).setCaption(s.logo);
  get<Label>("lblLogo", 1).setCaption(s.signature);
  get<TextBox>("txtLink", 0).setText(s.website);
  get<TextBox>("txtLink", 1).setText(s.email);
  if (auto* pages = dynamic_cast<OptionButton*>(find("OptPages", s.pagesOption)))
    pages->setValue(true);
  setCheck(get<CheckBox>("chkSave"), s.saveSettings);
}

// The settings backup into the ten controls it was taken from; a value that does not convert
// leaves its control as it is.
void QueloAdvancedSet::showBackup() {
  const auto& b = component_.reportSettings.backup;
  auto text = [&](TextBox& box, int i) {
    if (auto t = toString(b[i])) box.setText(t.value());
  };
  auto caption = [&](Label& label, int i) {
    if (auto t = toString(b[i])) label.setCaption(t.value());
  };
  auto option = [&](OptionButton& button, int i) {
    if (auto on = toBool(b[i])) button.setValue(on.value());
  };
  text(get<TextBox>("txtHeaderFooter", 0), Ra_Header);
  text(get<TextBox>("txtHeaderFooter", 1), Ra_Footer);
  if (auto n = toInteger(b[Ra_UseNotes])) setCheck(get<CheckBox>("chkNotes"), std::abs(n.value()));
  option(get<OptionButton>("OptNotesPosition", 0), Ra_NotesOnTop);
  text(get<TextBox>("txtNotes"), Ra_Notes);
  caption(get<Label>("lblLogo", 0), Ra_Logo);
  caption(get<Label>("lblLogo", 1), Ra_Signature);
  text(get<TextBox>("txtLink", 0), Ra_Website);
  text(get<TextBox>("txtLink", 1), Ra_Email);
  option(get<OptionButton>("OptPages", 0), Ra_AllPages);
}

QueloAdvancedSet& advancedSettingsForm(Component& component, const Platform& platform) {
  auto& slot = component.advancedSettingsForm;
  auto* form = dynamic_cast<QueloAdvancedSet*>(slot.get());
  if (!form) {
    auto created = std::make_unique<QueloAdvancedSet>(component, platform);
    form = created.get();
    slot = std::move(created);
  }
  return *form;
}

Variant AdvancedSettings(Component& component, const Platform& platform, int32_t setting) {
  advancedSettingsForm(component, platform).load();
  return advancedSettingValue(component.reportSettings.working, setting);
}

}  // namespace quelo
