#include "control/reporter_entry_points.h"

#include "automation/collection.h"
#include "automation/text.h"
#include "component/component.h"
#include "control/control_report_host.h"
#include "control/type_library.h"
#include "control/ze_quelo.h"
#include "data/recordset/recordset.h"
#include "report/automatic_report.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/auto_settings.h"
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {

enum Arg { kRecordset = 0, kPicFields = 1, kGraphicFolder = 2 };
enum AutoArg { kFileName = 3, kFileTitle = 4, kAction = 5, kAutoFutureUse = 6, kAutoReserved = 7 };

// Copies a forward-only record set into a static one, field by field and record by record;
// what cannot be copied is skipped. The automatic report lets the host's events run meanwhile.
std::shared_ptr<Recordset> staticCopy(Recordset& source, MessageLoop* pump) {
  auto copy = Recordset::create();
  (void)source.moveFirst();
  for (const FieldInfo& f : source.fields().all()) {
    if (pump) pump->processEvents();
    (void)copy->appendField(f.name, f.type, f.definedSize, f.attributes);
  }
  (void)copy->setCursorType(ado::adOpenStatic);
  (void)copy->setLockType(ado::adLockOptimistic);
  (void)copy->open();
  while (!source.eof()) {
    if (pump) pump->processEvents();
    (void)copy->appendRecordFrom(source);
    if (!source.moveNext()) break;
  }
  (void)source.close();
  return copy;
}

// Runs one report request from the busy check to the clean-up; `finish` shows or drives the
// report form and returns the result.
class ReporterCall {
 public:
  ReporterCall(ZeQuelo& control, Args& args, bool automatic)
      : control_(control), args_(args), automatic_(automatic) {}

  template <class Finish>
  bool run(Finish finish);

 private:
  bool refuseWhenBusy();
  bool prepare();
  void cleanUp();

  ZeQuelo& control_;
  Args& args_;
  bool automatic_;
  std::shared_ptr<Recordset> recordset_;
  std::optional<Variant> bookmark_;
};

template <class Finish>
bool ReporterCall::run(Finish finish) {
  if (refuseWhenBusy()) return false;
  control_.setReportBusy(true);
  control_.platform().cursor->setBusy(true);
  bool result = false;
  if (prepare()) result = finish(reportForm(control_.component(), control_.platform()));
  cleanUp();
  return result;
}

bool ReporterCall::refuseWhenBusy() {
  if (!control_.reportBusy()) return false;
  if (!automatic_) {
    const std::string title = control_.site().ambientDisplayName().valueOr("");
    control_.platform().messageBox->show(
        "A report is currently being generated\r\nplease try again in a few seconds", mb::kOkOnly,
        title);
  }
  return true;
}

bool ReporterCall::prepare() {
  recordset_ = std::dynamic_pointer_cast<Recordset>(args_[kRecordset].objectOrNull());
  if (!recordset_ || !recordset_->isOpen()) return false;
  if (auto mark = recordset_->bookmark()) bookmark_ = mark.value();
  if (recordset_->cursorType() == ado::adOpenForwardOnly) {
    recordset_ = staticCopy(*recordset_, automatic_ ? control_.platform().loop : nullptr);
    args_[kRecordset] = Variant(std::static_pointer_cast<Dispatch>(recordset_));
  }
  if (!recordset_->moveFirst()) return false;
  // The count of the rows from the first on, as fetching them all would give, without
  // materialising them.
  std::optional<int64_t> counted = recordset_->countedRecords();
  auto count = recordset_->eof() ? Result<int64_t>(int64_t{0})
               : counted         ? Result<int64_t>(*counted)
                                 : recordset_->recordCount();
  if (!count || count.value() <= 0 || count.value() > INT32_MAX) return false;

  Component& component = control_.component();
  control_.setCurrentRecordset(recordset_);
  component.reportRecordset = recordset_;
  Platform& platform = control_.platform();
  QueloAdvancedSet& settings = advancedSettingsForm(component, platform);
  settings.get<ListBox>("lstFields").clear();
  const std::string name = control_.site().ambientDisplayName().valueOr("");
  std::shared_ptr<Dispatch> self = control_.site().findControl(name);
  settings.setMyfControl(reportHostOf(self ? self : control_.shared_from_this()));

  QueloReportForm& form = reportForm(component, platform);
  form.setCumTotalRecs(static_cast<int32_t>(count.value()));
  const std::string pictures = trimSpaces(toString(args_[kPicFields]).valueOr(""));
  form.setContainPictureFilenameField(!pictures.empty());
  form.setThePicFields(pictures);
  const Variant& folder = args_[kGraphicFolder];
  form.setGraphicFolderPath(folder.isMissing() ? component.applicationPath
                                               : trimSpaces(toString(folder).valueOr("")));
  return true;
}

void ReporterCall::cleanUp() {
  control_.setReportBusy(false);
  if (recordset_ && bookmark_) (void)recordset_->setBookmark(*bookmark_);
  control_.platform().cursor->setBusy(false);
}

void setCheckFromAction(QueloReportForm& form, int32_t action) {
  const int browser = action == 10 || action == 11 ? 1 : 0;
  const int printer = action == 1 || action == 11 ? 1 : 0;
  if (action != 0 && action != 1 && action != 10 && action != 11) return;
  form.get<CheckBox>("chkBrowser").setValue(browser);
  form.get<CheckBox>("chkPrinter").setValue(printer);
}

bool driveAutomaticReport(ZeQuelo& control, Args& args, QueloReportForm& form) {
  QueloAdvancedSet& settings = advancedSettingsForm(control.component(), control.platform());
  form.setAutoReporting(true);
  form.get<TextBox>("txtFileName")
      .setText(automaticFileName(toString(args[kFileName]).valueOr("")));
  form.get<TextBox>("txtTitle").setText(automaticTitle(toString(args[kFileTitle]).valueOr("")));
  setCheckFromAction(form, toLong(args[kAction]).valueOr(-1));
  form.cmdAdvanced_Click();
  auto choices = fieldChoices(args[kAutoReserved]);
  if (!choices) return false;
  applyAutoSettings(settings, form, args[kAutoFutureUse], choices.value());
  settings.cmdApply_Click();
  form.cmdGenerate_Click();
  const ReportOutcome& outcome = form.lastOutcome();
  const bool pagesLost =
      !outcome.errors.empty() || !outcome.refusal.empty() || !outcome.sourceError.empty();
  restoreUserSettings(settings);
  form.setAutoReporting(false);
  form.cmdClose_Click();
  return !pagesLost;
}

}  // namespace

bool ShowZeReporter(ZeQuelo& control, Args& args) {
  return ReporterCall(control, args, false).run([&](QueloReportForm& form) {
    control.platform().cursor->setBusy(false);
    form.show(true);
    return true;
  });
}

bool AutoZeReporter(ZeQuelo& control, Args& args) {
  return ReporterCall(control, args, true).run([&](QueloReportForm& form) {
    const bool done = driveAutomaticReport(control, args, form);
    if (!done && form.AutoReporting()) {
      // A sequence that failed half-way leaves no flagged form behind for the next request.
      form.setAutoReporting(false);
      form.unload();
    }
    return done;
  });
}

void RaiseZeReportStatus(ZeQuelo& control, Args& args) {
  control.raiseEvent("ReportStatus", dispid::kReportStatus, args);
}

Variant CurrentRecordset(ZeQuelo& control) {
  const std::shared_ptr<Recordset>& current = control.currentRecordset();
  if (!current) return Variant(std::shared_ptr<Dispatch>());
  if (current->hasActiveConnection()) (void)current->requery();
  return Variant(std::static_pointer_cast<Dispatch>(current));
}

}  // namespace quelo
