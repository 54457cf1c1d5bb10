// QueloReportForm's public members, load and unload, and the buttons that reach other forms:
// Advanced, Save As and Close.
#include "report_forms/report_form.h"

#include "automation/date_time.h"
#include "automation/text.h"
#include "component/component.h"
#include "component/preview_tables.h"
#include "data/recordset/recordset.h"
#include "files/file_names.h"
#include "files/path_rules.h"
#include "report/automatic_report.h"
#include "report_forms/advanced_settings_form.h"

namespace quelo {

using namespace forms;

namespace {

// The name Save As keeps: an extension when it has none, then only a page file's bare name.
std::string savedName(std::string name) {
  if (positionOf(name, ".htm", 2) == 0 && positionOf(name, ".asp", 2) == 0) name += ".htm";
  const std::string lower = toLower(name);
  const bool pageFile =
      positionOf(lower, ".htm", 2) || positionOf(lower, ".html", 2) || positionOf(lower, ".asp", 2);
  return pageFile ? toLower(justFileName(name)) : std::string();
}

}  // namespace

QueloReportForm::QueloReportForm(Component& component, Platform platform)
    : Form("QueloReportForm", *platform.presenter), component_(component), platform_(platform) {
  setAutoReporting(false);
}

QueloReportForm::~QueloReportForm() = default;

bool QueloReportForm::AutoReporting() const {
  return component_.reportAutoReporting;
}
void QueloReportForm::setAutoReporting(bool on) {
  component_.reportAutoReporting = on;
}

void QueloReportForm::setGraphicFolderPath(const std::string& path) {
  graphicFolderPath_ = keptFolderPath(path, graphicFolderPath_);
}

void QueloReportForm::setThePicFields(const std::string& fields) {
  picFields_ = trimSpaces(fields);
}

QueloAdvancedSet& QueloReportForm::settingsForm() {
  return advancedSettingsForm(component_, platform_);
}

void QueloReportForm::wireEvents() {
  for (int i = 0; i < 2; ++i) {
    get<CommandButton>("cmdDirection", i).onClick = [this, i] { cmdDirection_Click(i); };
    get<CommandButton>("cmdMoveUpDown", i).onClick = [this, i] { cmdMoveUpDown_Click(i); };
  }
  for (int i = 0; i < 4; ++i)
    get<CommandButton>("cmdPage", i).onClick = [this, i] { cmdPage_Click(i); };
  get<CommandButton>("cmdAdvanced").onClick = [this] { cmdAdvanced_Click(); };
  get<CommandButton>("cmdGenerate").onClick = [this] { generateFromButton(); };
  get<CommandButton>("cmdClose").onClick = [this] { cmdClose_Click(); };
  get<CommandButton>("cmdSaveAs").onClick = [this] { cmdSaveAs_Click(); };
  auto& title = get<TextBox>("txtTitle");
  title.onGotFocus = [&title] {
    title.setSelStart(0);
    title.setSelLength(static_cast<int32_t>(title.text().size()));
  };
  get<ListBox>("lstOutput").onKeyDown = [this](int& k, int shift) { outputListKeyDown(k, shift); };
  get<ListBox>("lstAvailable").onKeyDown = [this](int& k, int shift) {
    availableListKeyDown(k, shift);
  };
}

void QueloReportForm::formLoad() {
  setCaption(component_.developerCompany + " Report Form");
  const CivilTime today = civilFromDate(dateFromTimePoint(platform_.clock->wallNow()));
  get<DatePicker>("dtpInsert").setValue(dateFromCivil({today.year, today.month, today.day}));
  get<ComboBox>("cboBGcolor").setListIndex(0);
  buildPages();
  showPreviewPage();
}

void QueloReportForm::formActivate() {
  get<DataGrid>("MSHFlexGrid1");
}

// While a run started by the user goes on, the driver lets the event loop run between sections:
// no button may page the preview, start another run or close the form under it, and the window
// does not close. The status frame's Cancel box is how the user stops a run.
void QueloReportForm::generateFromButton() {
  std::vector<std::pair<CommandButton*, bool>> held;
  for (FormControl* c : controls()) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (!button) continue;
    held.emplace_back(button, button->enabled());
    button->setEnabled(false);
  }
  generating_ = true;
  cmdGenerate_Click();
  generating_ = false;
  for (auto [button, was] : held) button->setEnabled(was);
}

void QueloReportForm::formQueryUnload(int& cancel, forms::UnloadMode) {
  if (generating_) cancel = 1;
}

void QueloReportForm::formUnload(int&) {
  currentPage_.reset();
  settingsForm().SaveUserSettings();
  pages_.clear();
  pageStream_.reset();
}

void QueloReportForm::cmdClose_Click() {
  unload();
}

// Offers the numeric fields of the page for summing, then shows the settings form unless an
// automatic report drives it. The first failing step ends the handler.
void QueloReportForm::cmdAdvanced_Click() {
  auto& fields = settingsForm().get<ListBox>("lstFields");
  fields.clear();
  if (!currentPage_ || !currentPage_->moveFirst()) return;
  for (const std::string& name : summableFields(*currentPage_)) fields.addItem(name);
  if (!AutoReporting()) settingsForm().show(true);
}

// Asks the host's file dialog for the report's file name.
void QueloReportForm::cmdSaveAs_Click() {
  std::string chosen;
  if (const auto& control = settingsForm().myfControl()) {
    const std::string& appPath = component_.applicationPath;
    const std::string reports = appPath + "Reports" + separatorOf(appPath);
    chosen = control->supplyFileName("Save As (Htm or Asp file)", reports, 5, false);
  }
  get<TextBox>("txtFileName").setText(chosen.empty() ? std::string() : savedName(chosen));
}

QueloReportForm& reportForm(Component& component, const Platform& platform) {
  auto& slot = component.reportForm;
  if (!slot) slot = std::make_unique<QueloReportForm>(component, platform);
  return static_cast<QueloReportForm&>(*slot);
}

}  // namespace quelo
