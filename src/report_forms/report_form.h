// QueloReportForm: the dialog in which the end user turns the record set handed to the control
// into a report. Its load splits the records into pages (page record sets are views over the
// shared rows) and previews page 1; the user pages through the preview, chooses and orders the
// output fields, sets title, file name, colour, date, browser and printer, opens the advanced
// settings and generates. The automatic report drives the same form without showing it.
// Public properties survive an unload; controls, pages and field lists are built anew each load.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "component/platform.h"
#include "forms/form.h"
#include "report/report_job.h"

namespace varnikquelo {
struct ReportRequest;
}

namespace quelo {

class Component;
struct FormExtras;
class QueloAdvancedSet;
class PageStream;
class Recordset;

class QueloReportForm : public forms::Form {
 public:
  QueloReportForm(Component& component, Platform platform);
  ~QueloReportForm() override;

  // Public members, set by the entry points before the load.
  bool AutoReporting() const;
  void setAutoReporting(bool on);
  void setCumTotalRecs(int32_t n) { cumTotalRecs_ = n; }
  void setContainPictureFilenameField(bool on) { containPictures_ = on; }
  // Trimmed; kept only when it names an anchored place (a drive, or "/..."), with a trailing
  // separator.
  void setGraphicFolderPath(const std::string& path);
  void setThePicFields(const std::string& fields);

  // The button handlers, callable from outside as the automatic report does.
  void cmdAdvanced_Click();
  void cmdClose_Click();
  void cmdDirection_Click(int index);
  void cmdGenerate_Click();
  void cmdPage_Click(int index);
  void cmdMoveUpDown_Click(int index);
  void cmdSaveAs_Click();

  // What became of the last generation: the pages written, what could not be written (a report
  // that lost pages must not look like a success), why it was refused (too many pages or fields,
  // as the user was told) and what was written but not as asked.
  const ReportOutcome& lastOutcome() const { return lastOutcome_; }

 protected:
  void build() override;
  void formLoad() override;
  void formActivate() override;
  void formQueryUnload(int& cancel, forms::UnloadMode mode) override;
  void formUnload(int& cancel) override;

 private:
  void wireEvents();
  void generateFromButton();
  // The report the controls describe, for Generate, and what only the form adds to it.
  varnikquelo::ReportRequest reportRequest();
  FormExtras formExtras();
  std::string dateLine();
  // Ends a Generate before anything is written: the message box shows `shown`, the outcome keeps
  // why.
  void refuse(const std::string& shown, const std::string& why);
  QueloAdvancedSet& settingsForm();
  void readPageSize();
  void buildPages();
  void showPreviewPage();
  void fillFieldTables();
  void showPictures();
  void setPageCaption();
  void outputListKeyDown(int& keyCode, int shift);
  void availableListKeyDown(int& keyCode, int shift);

  Component& component_;
  Platform platform_;
  int16_t curPage_ = 0, totalPage_ = 0, pageSize_ = 10;
  int32_t numRecsOnPage_ = 0, cumTotalRecs_ = 0;
  bool containPictures_ = false;
  bool generating_ = false;  // a run started by the Generate button is under way
  std::string graphicFolderPath_, picFields_;
  std::vector<std::shared_ptr<Recordset>> pages_;  // page p at index p - 1
  std::shared_ptr<PageStream>
      pageStream_;             // the pages, read as they are written; pages_ holds page 1
  std::string tooManyPages_;   // why the records could not be paged; empty when they were
  std::string sourceFailure_;  // the source failed on its first page; empty when it did not
  std::shared_ptr<Recordset> currentPage_;

  Variant spare_;  // the host's own value in ReportStatus, kept from one event to the next
  ReportOutcome lastOutcome_;
};

// The component's instance, created with this platform on first use (not loaded by this call).
QueloReportForm& reportForm(Component& component, const Platform& platform);

}  // namespace quelo
