// QueloReportForm's Generate: the controls described as a report request (with what only the form
// has beside it), made into a job and run as every report is, the status frame (or, in an
// automatic report, the host's ReportStatus event) as the run's progress, and the run's outcome
// kept for the caller.
#include <memory>
#include <variant>

#include "automation/date_time.h"
#include "automation/text.h"
#include "component/component.h"
#include "component/hyperlink_state.h"
#include "component/preview_tables.h"
#include "report/automatic_report.h"
#include "report/generation_driver.h"
#include "report/report_api.h"
#include "report/report_settings.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {

// The status frame: its check boxes cancel, its labels show where the run is.
class StatusFrameProgress : public ReportProgress {
 public:
  explicit StatusFrameProgress(Form& form)
      : cancel_(form.get<CheckBox>("chkCancel")),
        deleteBox_(form.get<CheckBox>("chkDeleteOnCancel")),
        totalPages_(form.get<Label>("lblTotalPages")),
        page_(form.get<Label>("lblCurPage")),
        elapsed_(form.get<Label>("lblElapsedSeconds")) {}

  void step(const SectionStep& where) override {
    cancelled_ = cancel_.value() > 0;
    deleteOnCancel_ = deleteBox_.value() > 0;
    totalPages_.setCaption(std::to_string(where.totalPages));
    page_.setCaption(std::to_string(where.page));
    elapsed_.setCaption(std::to_string(where.elapsedSeconds));
  }
  bool cancelled() const override { return cancelled_; }
  bool deleteOnCancel() const override { return deleteOnCancel_; }

 private:
  CheckBox &cancel_, &deleteBox_;
  Label &totalPages_, &page_, &elapsed_;
  bool cancelled_ = false, deleteOnCancel_ = false;
};

// The host's answers to the control's ReportStatus event, raised at every step of an automatic
// report. The host's own value (`spare`) goes back to it at the next event.
class ReportStatusProgress : public ReportProgress {
 public:
  ReportStatusProgress(std::shared_ptr<ReportHost> control, Variant& spare)
      : control_(std::move(control)), spare_(spare) {}

  void step(const SectionStep& where) override {
    if (control_) control_->raiseReportStatus(where, cancelled_, deleteOnCancel_, spare_);
  }
  bool cancelled() const override { return cancelled_; }
  bool deleteOnCancel() const override { return deleteOnCancel_; }

 private:
  std::shared_ptr<ReportHost> control_;
  Variant& spare_;
  bool cancelled_ = false, deleteOnCancel_ = false;
};

}  // namespace

void QueloReportForm::cmdGenerate_Click() {
  lastOutcome_ = ReportOutcome{};
  if (!tooManyPages_.empty()) return refuse(tooManyPages_, tooManyPages_);
  if (!sourceFailure_.empty()) {
    lastOutcome_.sourceError = sourceFailure_;
    return;
  }
  auto& output = get<ListBox>("lstOutput");
  if (output.listCount() == 0) return output.setFocus();
  const FormExtras extras = formExtras();
  auto made = reportJob(reportRequest(), {pages_, pageStream_, totalPage_, cumTotalRecs_}, nullptr,
                        &extras, platform_);
  if (const auto* wrong = std::get_if<RequestFault>(&made)) {
    if (wrong->part == RequestFault::Part::FileName) return get<TextBox>("txtFileName").setFocus();
    if (wrong->part == RequestFault::Part::Fields)
      return refuse("Too many fields!", tooManyFields(wrong->error.message));
    return refuse(wrong->error.message, wrong->error.message);
  }
  const ReportJob& job = std::get<ReportJob>(made);
  get<Frame>("Frame1").setVisible(false);
  get<Frame>("Frame2").setVisible(false);
  get<Frame>("Frame3").setVisible(true);
  get<CheckBox>("chkCancel").setValue(0);
  get<CheckBox>("chkDeleteOnCancel").setValue(0);
  for (const char* label : {"lblTotalPages", "lblCurPage", "lblElapsedSeconds"})
    get<Label>(label).setCaption("");
  std::unique_ptr<ReportProgress> progress;
  if (AutoReporting())
    progress = std::make_unique<ReportStatusProgress>(settingsForm().myfControl(), spare_);
  else
    progress = std::make_unique<StatusFrameProgress>(*this);
  lastOutcome_ = runReport(job, platform_, *progress, component_.hyperlinks);
  get<Frame>("Frame1").setVisible(true);
  get<Frame>("Frame2").setVisible(true);
  get<Frame>("Frame3").setVisible(false);
}

void QueloReportForm::refuse(const std::string& shown, const std::string& why) {
  platform_.messageBox->show(shown, mb::kOkOnly, "");
  lastOutcome_.refusal = why;
}

varnikquelo::ReportRequest QueloReportForm::reportRequest() {
  varnikquelo::ReportRequest request;
  const auto& output = get<ListBox>("lstOutput");
  for (int32_t i = 0; i < output.listCount(); ++i) request.fields.push_back(output.list(i));
  const auto& sums = settingsForm().get<ListBox>("lstFields");
  for (int32_t i = 0; i < sums.listCount(); ++i)
    if (sums.selected(i)) request.sums.push_back(sums.list(i));
  const PreviewTables& tables = component_.previewTables;
  for (size_t c = 0; c < tables.gridColumnNames.size() && c < tables.pictureFolders.size(); ++c)
    if (!tables.pictureFolders[c].empty())
      request.pictures.emplace(tables.gridColumnNames[c], tables.pictureFolders[c]);
  request.title = trimSpaces(get<TextBox>("txtTitle").text());
  if (request.title.empty()) request.title = " Records ";
  request.dateLine = dateLine();
  request.colour = get<ComboBox>("cboBGcolor").text();
  request.fileName = get<TextBox>("txtFileName").text();
  request.applicationPath = component_.applicationPath;
  request.useSettings = settingsForm().AdvSettings();
  const bool browse = get<CheckBox>("chkBrowser").value() == 1,
             print = get<CheckBox>("chkPrinter").value() == 1;
  using varnikquelo::ReportAction;
  request.action = browse ? (print ? ReportAction::BrowseAndPrint : ReportAction::Browse)
                          : (print ? ReportAction::Print : ReportAction::None);
  return request;
}

FormExtras QueloReportForm::formExtras() {
  FormExtras extras;
  extras.allPages = settingsForm().get<OptionButton>("OptPages", 0).value();
  extras.currentPage = curPage_;
  extras.settings = component_.reportSettings.working;
  extras.pictureFieldsNamed = containPictures_;
  if (AutoReporting()) extras.fallbackName = kAutoFallbackName;
  return extras;
}

// The date under the title when the form asks for it, after the time of day in an automatic report.
std::string QueloReportForm::dateLine() {
  if (get<CheckBox>("chkInsert").value() != 1) return {};
  std::optional<CivilTime> now;
  if (AutoReporting()) now = civilFromDate(dateFromTimePoint(platform_.clock->wallNow()));
  return dateLineOf(get<DatePicker>("dtpInsert").value(), now);
}

}  // namespace quelo
