#include "reporter/generation_driver.h"

#include <cmath>
#include <ctime>

#include "component/component.h"
#include "files/file_names.h"
#include "files/path_rules.h"
#include "hyperlink/hyperlink_opener.h"
#include "hyperlink/hyperlink_state.h"
#include "automation/date_time.h"
#include "data/recordset/recordset.h"
#include "automation/text.h"
#include "reporter/advanced_settings_form.h"
#include "reporter/earlier_pages.h"
#include "reporter/page_writer.h"
#include "reporter/preview_tables.h"
#include "reporter/report_form.h"
#include "reporter/report_pictures.h"
#include "reporter/report_settings.h"
#include "reporter/report_statistics.h"

namespace quelo {

using namespace forms;

namespace {

constexpr int32_t kMostFields = 32000;
constexpr int32_t kSectionRecords = 5;


std::string formatTime(const char* format, const CivilTime& c) {
  std::tm t{};
  t.tm_year = c.year - 1900;
  t.tm_mon = c.month - 1;
  t.tm_mday = c.day;
  t.tm_hour = c.hour;
  t.tm_min = c.minute;
  t.tm_sec = c.second;
  t.tm_wday = static_cast<int>((static_cast<int64_t>(std::floor(dateFromCivil(c).serial)) % 7 + 7 + 6) % 7);
  char buf[128];
  const size_t n = std::strftime(buf, sizeof buf, format, &t);
  return std::string(buf, n);
}

// The long date of the C locale: "Saturday, March 7, 2009".
std::string longDate(Date d) {
  const CivilTime c = civilFromDate(d);
  return formatTime("%A, %B ", c) + std::to_string(c.day) + formatTime(", %Y", c);
}

}  // namespace

std::string pageFileName(const std::string& baseName, int32_t page, int32_t totalPages) {
  if (totalPages <= 1) return baseName;
  const std::string number = std::to_string(page);
  if (baseName.find(".htm") != std::string::npos) return replaceAll(baseName, ".htm", number + ".htm");
  return replaceAll(baseName, ".asp", number + ".asp");
}

std::string reportBaseName(Platform& platform, const std::string& typed) {
  std::string name = trimSpaces(typed);
  // Only the bare name is kept of anything holding a folder, so no page leaves the Reports folder.
  if (name.find_first_of("\\:/") != std::string::npos) name = justFileName(name);
  if (name.find(' ') != std::string::npos) name = ShortFileName(*platform.files, name);
  if (name.find(".htm") == std::string::npos && name.find(".asp") == std::string::npos) name += ".htm";
  if (name == ".htm") return {};
  return toLower(name);
}

class GenerationDriver {
 public:
  GenerationDriver(QueloReportForm& form, Platform& platform)
      : form_(form), platform_(platform), settings_(advancedSettingsForm(form.component_, platform)) {}
  void run();

 private:
  bool automatic() const { return form_.AutoReporting(); }
  std::string secondLine(const std::string& title);
  void generatePage(int32_t headingPage, const std::string& fileName);
  bool sectionSlotsCancelled(int32_t slots);
  Status writePage(const std::string& folder, const std::string& path, const std::shared_ptr<Recordset>& page,
                   const std::string& pageHeading, int32_t n);
  Status writeSections(const std::shared_ptr<Recordset>& page, OutputFile& file, const std::string& path,
                       const std::string& pageHeading, int32_t n);
  SectionContext sectionContext() const;
  void finish();
  void fail(const Error& error);
  // Ends the run before anything is written: the message box shows `shown`, the form keeps why.
  void refuse(const std::string& shown, const std::string& why) {
    platform_.messageBox->show(shown, mb::kOkOnly, "");
    form_.refusal_ = why;
  }
  std::string reportsFolder() const;

  QueloReportForm& form_;
  Platform& platform_;
  QueloAdvancedSet& settings_;
  std::vector<std::string> outputNames_;
  std::string title_, second_, baseName_;
  std::vector<std::string> pageFiles_;  // page p at index p - 1
  std::unique_ptr<ReportPictures> pictures_;
  std::chrono::nanoseconds start_{};
  bool leftoversRemoved_ = false;
  bool stopped_ = false;  // by an error that every later page would meet too
};

void QueloReportForm::cmdGenerate_Click() { GenerationDriver(*this, platform_).run(); }

void GenerationDriver::run() {
  form_.refusal_.clear();
  if (!form_.tooManyPages_.empty()) return refuse(form_.tooManyPages_, form_.tooManyPages_);
  auto& output = form_.get<ListBox>("lstOutput");
  if (output.listCount() == 0) return output.setFocus();
  title_ = trimSpaces(form_.get<TextBox>("txtTitle").text());
  if (title_.empty()) title_ = " Records ";
  baseName_ = reportBaseName(platform_, form_.get<TextBox>("txtFileName").text());
  if (baseName_.empty()) {
    if (!automatic()) return form_.get<TextBox>("txtFileName").setFocus();
    baseName_ = "zereport.htm";
  }
  if (output.listCount() > kMostFields)
    return refuse("Too many fields!", "Too many fields! " + std::to_string(output.listCount()) +
                                          " output fields; a report holds at most " + std::to_string(kMostFields) + ".");
  form_.get<Frame>("Frame1").setVisible(false);
  form_.get<Frame>("Frame2").setVisible(false);
  start_ = platform_.clock->monotonic();
  form_.get<Frame>("Frame3").setVisible(true);
  form_.get<CheckBox>("chkCancel").setValue(0);
  form_.get<CheckBox>("chkDeleteOnCancel").setValue(0);
  for (const char* label : {"lblTotalPages", "lblCurPage", "lblElapsedSeconds"}) form_.get<Label>(label).setCaption("");
  // A run starts uncancelled: flags left over from a cancelled run must not cancel this one.
  form_.cancelFlag_ = form_.deleteOnCancel_ = false;
  // Statistics start empty too: each report's cover its own records, whatever ended the last run.
  reportStatistics() = ReportStatistics{};
  form_.generationErrors_.clear();
  form_.generatedFiles_.clear();
  form_.generationWarnings_.clear();
  pictures_ = std::make_unique<ReportPictures>(*platform_.files, reportsFolder(), form_.output_.copyPictures);
  if (form_.output_.replaceEarlier)
    if (Status s = removeEarlierPages(*platform_.files, reportsFolder(), baseName_); !s) fail(s.error());

  for (int32_t i = 0; i < output.listCount(); ++i) outputNames_.push_back(output.list(i));
  outputNames_.emplace_back();
  second_ = secondLine(title_);
  const int16_t remembered = form_.curPage_;
  pageFiles_.assign(static_cast<size_t>(std::max<int16_t>(form_.totalPage_, 0)), std::string());
  const bool allPages = settings_.get<OptionButton>("OptPages", 0).value();
  auto select = [this](int16_t p) {
    form_.currentPage_ = p >= 1 && static_cast<size_t>(p) <= form_.pages_.size() ? form_.pages_[p - 1] : nullptr;
    auto count = form_.currentPage_ ? form_.currentPage_->recordCount() : Result<int64_t>(Error{});
    form_.numRecsOnPage_ = count ? static_cast<int32_t>(count.value()) : 0;
  };
  if (allPages) {
    for (int16_t p = 1; p <= form_.totalPage_ && !form_.cancelFlag_ && !stopped_; ++p) {
      select(p);
      form_.curPage_ = p;
      generatePage(p, pageFileName(baseName_, p, form_.totalPage_));
    }
  } else {
    const int16_t total = form_.totalPage_;
    form_.totalPage_ = 1;
    form_.curPage_ = 1;
    select(remembered);
    pageFiles_.assign(1, std::string());
    generatePage(remembered, baseName_);
    form_.totalPage_ = total;
  }
  form_.curPage_ = remembered;
  select(remembered);
  form_.generationWarnings_ = pictures_->warnings();
  finish();
}

// The folder of the pages, with a trailing separator.
std::string GenerationDriver::reportsFolder() const {
  const std::string& appPath = form_.component_.applicationPath;
  return appPath + "Reports" + separatorOf(appPath);
}

std::string GenerationDriver::secondLine(const std::string& title) {
  if (form_.get<CheckBox>("chkInsert").value() != 1) return title;
  std::string line;
  if (automatic()) {
    const CivilTime now = civilFromDate(dateFromTimePoint(platform_.clock->wallNow()));
    line = formatTime("%I:%M:%S %p", now) + " of ";
  }
  return line + longDate(form_.get<DatePicker>("dtpInsert").value()) + " <Br> ";
}

// A page is written whole or not at all: built beside its file and put in its place when
// complete, so a failure, a cancel or a killed run leaves the file as it was. Only pages put in
// place are listed as generated.
void GenerationDriver::generatePage(int32_t headingPage, const std::string& fileName) {
  const std::string& appPath = form_.component_.applicationPath;
  const std::string folder = appPath + "Reports";
  const Status ready = platform_.files->ensureDirectory(folder);
  if (!ready) fail(ready.error());
  const std::string path = folder + separatorOf(appPath) + fileName;
  if (form_.curPage_ >= 1 && static_cast<size_t>(form_.curPage_) <= pageFiles_.size())
    pageFiles_[static_cast<size_t>(form_.curPage_ - 1)] = path;
  const std::shared_ptr<Recordset> page = form_.currentPage_;
  const int32_t n = form_.numRecsOnPage_ / kSectionRecords;
  if (sectionSlotsCancelled(n)) return;
  if (!page || !ready) return;
  const std::string heading = "Vol " + std::to_string(headingPage) + " of " + title_ + "<Br>" + second_;
  if (Status s = writePage(folder, path, page, heading, n); !s) return fail(s.error());
  form_.generatedFiles_.push_back(path);
}

Status GenerationDriver::writePage(const std::string& folder, const std::string& path,
                                   const std::shared_ptr<Recordset>& page, const std::string& pageHeading, int32_t n) {
  FileSystem& files = *platform_.files;
  auto lock = files.lockFolder(folder);
  if (!lock) return lock.error();
  if (!leftoversRemoved_) {
    (void)files.removeUpdateLeftovers(folder);
    leftoversRemoved_ = true;
  }
  auto file = files.beginUpdate(path, kUtf8Bom);
  if (!file) return file.error();
  if (Status s = writeSections(page, *file.value(), path, pageHeading, n); !s) return s;
  return file.value()->close();
}

// A page that alone cannot be written (a folder in its place) leaves the others to be written;
// a full disk would fail every page after it, and a link planted among the pages means the
// folder is not to be written into.
void GenerationDriver::fail(const Error& error) {
  form_.generationErrors_.push_back(error.message);
  if (error.number == err::kDiskFull || error.number == err::kPermissionDenied) stopped_ = true;
}

// Progress before each of the page's section slots: the host's answers to ReportStatus in an
// automatic run, the status frame's check boxes in an interactive one.
bool GenerationDriver::sectionSlotsCancelled(int32_t slots) {
  for (int32_t k = 0; k <= slots; ++k) {
    platform_.loop->processEvents();
    const double seconds = std::chrono::duration<double>(platform_.clock->monotonic() - start_).count();
    const auto elapsed = static_cast<int32_t>(std::nearbyint(seconds));
    if (automatic()) {
      if (const auto& control = settings_.myfControl()) {
        Args args{Variant(form_.totalPage_), Variant(elapsed), Variant(form_.curPage_),
                  Variant(form_.cancelFlag_), Variant(form_.deleteOnCancel_), form_.spare_};
        if (control->call("RaiseZeReportStatus", args)) {
          form_.cancelFlag_ = toBool(args[3]).valueOr(form_.cancelFlag_);
          form_.deleteOnCancel_ = toBool(args[4]).valueOr(form_.deleteOnCancel_);
          form_.spare_ = args[5];
        }
      }
    } else {
      form_.cancelFlag_ = form_.get<CheckBox>("chkCancel").value() > 0;
      form_.deleteOnCancel_ = form_.get<CheckBox>("chkDeleteOnCancel").value() > 0;
      form_.get<Label>("lblTotalPages").setCaption(std::to_string(form_.totalPage_));
      form_.get<Label>("lblCurPage").setCaption(std::to_string(form_.curPage_));
      form_.get<Label>("lblElapsedSeconds").setCaption(std::to_string(elapsed));
    }
    if (form_.cancelFlag_) return true;
  }
  return false;
}

// Sections of five records, each a view over the page's rows; a last short section holds the rest.
Status GenerationDriver::writeSections(const std::shared_ptr<Recordset>& page, OutputFile& file,
                                       const std::string& path, const std::string& pageHeading, int32_t n) {
  const int32_t records = form_.numRecsOnPage_;
  const int32_t written = records % kSectionRecords != 0 ? n + 1 : n;
  const SectionContext ctx = sectionContext();
  const auto fields = static_cast<int32_t>(outputNames_.size() - 1);
  for (int32_t k = 0; k < written; ++k) {
    const int32_t first = k * kSectionRecords;
    auto section = page->rowRange(first, std::min(kSectionRecords, records - first));
    if (!section) continue;
    const std::string heading = k == 0 ? pageHeading : "Section" + std::to_string(k);
    const std::string colour = form_.get<ComboBox>("cboBGcolor").text();
    if (Status s = WriteReportSection(file, path, *section.value(), fields, outputNames_, heading, n, colour, ctx); !s)
      return s;
  }
  return Status::ok();
}

SectionContext GenerationDriver::sectionContext() const {
  SectionContext ctx;
  ctx.curPage = form_.curPage_;
  ctx.totalPage = form_.totalPage_;
  ctx.numRecsOnPage = form_.numRecsOnPage_;
  ctx.cumTotalRecs = form_.cumTotalRecs_;
  ctx.containPictureFields = form_.containPictures_;
  ctx.advSettings = settings_.AdvSettings();
  ctx.settings = &form_.component_.state<SettingsState>().working;
  ctx.previewTables = &form_.component_.state<PreviewTables>();
  const auto& list = settings_.get<ListBox>("lstFields");
  for (int32_t i = 0; i < list.listCount(); ++i) ctx.sumFields.emplace_back(list.list(i), list.selected(i));
  ctx.files = platform_.files;
  ctx.escapeValues = form_.output_.escapeValues;
  ctx.pictures = pictures_.get();
  return ctx;
}

// Delete on cancel first, then the browser, then the printer, page by page.
void GenerationDriver::finish() {
  if (form_.cancelFlag_ && form_.deleteOnCancel_) {
    for (const std::string& file : pageFiles_)
      if (!file.empty() && platform_.files->exists(file)) (void)platform_.files->remove(file);
    form_.generatedFiles_.clear();
  }
  if (!form_.cancelFlag_) form_.deleteOnCancel_ = false;
  if (!form_.deleteOnCancel_) {
    // The pages are written by now: a browser or printer that fails is worth a word, not a failure.
    auto& warnings = form_.generationWarnings_;
    if (form_.get<CheckBox>("chkBrowser").value() == 1 && !pageFiles_.empty() &&
        !activateLink(platform_, form_.component_.state<HyperlinkState>(), LinkMode::OpenTarget, pageFiles_.front(),
                      false))
      warnings.push_back("no browser could show " + pageFiles_.front());
    if (form_.get<CheckBox>("chkPrinter").value() == 1)
      for (const std::string& file : pageFiles_) {
        if (file.empty()) continue;
        Status s = platform_.shell ? platform_.shell->print(file) : Status(makeError(0, "no printing service"));
        if (!s) warnings.push_back("not printed: " + file + ": " + s.error().message);
      }
  }
  form_.get<Frame>("Frame1").setVisible(true);
  form_.get<Frame>("Frame2").setVisible(true);
  form_.get<Frame>("Frame3").setVisible(false);
}

}  // namespace quelo
