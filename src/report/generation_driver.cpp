#include "report/generation_driver.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>
#include <utility>

#include "automation/text.h"
#include "component/hyperlink_state.h"
#include "component/platform.h"
#include "data/recordset/recordset.h"
#include "files/file_names.h"
#include "files/path_rules.h"
#include "hyperlink/hyperlink_opener.h"
#include "report/page_formatters.h"
#include "report/page_output.h"
#include "report/page_stream.h"
#include "report/page_writer.h"
#include "report/report_api.h"
#include "report/report_document.h"
#include "report/report_pictures.h"
#include "report/url_path.h"

namespace quelo {

std::string pageFileName(const std::string& baseName, int32_t page, int32_t totalPages) {
  if (totalPages <= 1) return baseName;
  const std::string number = std::to_string(page);
  if (baseName.find(".htm") != std::string::npos)
    return replaceAll(baseName, ".htm", number + ".htm");
  return replaceAll(baseName, ".asp", number + ".asp");
}

std::string reportBaseName(Platform& platform, const std::string& typed) {
  std::string name = trimSpaces(typed);
  // Only the bare name is kept of anything holding a folder, so no page leaves the Reports folder.
  if (name.find_first_of("\\:/") != std::string::npos) name = justFileName(name);
  if (name.find(' ') != std::string::npos) name = ShortFileName(*platform.files, name);
  if (name.find(".htm") == std::string::npos && name.find(".asp") == std::string::npos)
    name += ".htm";
  if (name == ".htm") return {};
  return toLower(name);
}

namespace {

// The pages handed to the formatters and not yet written, at most: enough to keep them busy.
constexpr size_t kApartPerThread = 2;
// More formatters would only wait for the one writer, and hold pages meanwhile.
constexpr unsigned kMostFormatters = 4;
// Pages begun before the count, at most: a report refused for too many pages, which only the
// count tells, writes no more than these in vain (and a report of fewer pages is not slowed).
constexpr int32_t kMostPagesBegunUncounted = 4096;
// The ends of pages held for the count written at once: between two batches the progress of the
// pages goes on, and a cancel is met.
constexpr size_t kEndsAtOnce = 64;

// One run of a job: the pages, their progress, and what became of them.
class GenerationDriver {
 public:
  GenerationDriver(const ReportJob& job, Platform& platform, ReportProgress& progress,
                   HyperlinkState& links)
      : job_(job),
        platform_(platform),
        progress_(progress),
        links_(links),
        pictures_(*platform.files, reportsFolder(), job.output.copyPictures),
        writer_(job, *platform.files, &pictures_),
        output_(*platform.files, reportsFolder(), writerThread()) {
    if (const size_t threads = formatterThreads())
      formatters_ = std::make_unique<PageFormatters>(job, *platform.files, threads);
  }
  ReportOutcome run();

 private:
  // A page as the run writes it: `number` in its heading, at `place` of `total` among the pages.
  struct Page {
    int16_t number, place, total;
    std::shared_ptr<PageRecords> records;
  };
  // A page written before the number of pages was known, waiting for its end.
  struct Held {
    std::string fileName;
    PagePlace place;
    bool lost = false;  // its start could not be written
  };
  void runStream();
  void endHeldAfterStop();
  bool settle(int64_t records);
  void endHeldPages();
  Page pageAt(int16_t number, int16_t place, int16_t total);
  bool hasPage(int32_t number) const;
  bool writerThread() const;
  size_t formatterThreads() const;
  void generatePage(const Page& page, const std::string& fileName);
  void formatApart(const Page& page, PagePlace place, const std::string& fileName);
  void takeFormatted();
  void takeAllFormatted();
  void writePage(std::string fileName, PageText text, const PagePlace& place);
  PageText spareText(bool forPage);
  bool sectionSlotsCancelled(int32_t slots, const Page& page);
  PageText pageText(const Page& page, const PagePlace& place);
  void takeWritten(std::vector<PageOutput::Page> pages);
  void startLost(const std::string& fileName);
  void commit();
  void finish();
  void fail(const Error& error);
  void failHere(const Error& error);
  void sourceFailed(const Error& error);
  std::string reportsFolder() const;

  const ReportJob& job_;
  Platform& platform_;
  ReportProgress& progress_;
  HyperlinkState& links_;
  ReportPictures pictures_;
  PageWriter writer_;
  ReportOutcome outcome_;
  std::vector<std::string> pageFiles_;  // page p at index p - 1
  std::vector<std::string> built_;      // the file names of the pages built whole, in order
  std::vector<PageText> spareTexts_;    // empty, with room from earlier pages
  size_t pageRoom_ = 0;                 // the longest own text of a page so far
  std::vector<Held> held_;              // in page order
  int16_t totalPages_ = 0;              // of a streamed job: 0 until its records are all known
  int32_t totalRecords_ = 0;
  std::chrono::nanoseconds start_{};
  bool stopped_ = false;                        // by an error that every later page would meet too
  bool folderWasThere_ = false;                 // the Reports folder, before the run
  std::unique_ptr<PageFormatters> formatters_;  // none: every page is formatted here
  PageOutput output_;                           // last: its writer stops before the rest goes
};

ReportOutcome GenerationDriver::run() {
  // Page numbers are 16-bit, as the host's ReportStatus event passes them.
  if (!job_.stream && job_.pages.size() > static_cast<size_t>(INT16_MAX)) {
    outcome_.refusal =
        "Too many pages! A report holds at most " + std::to_string(INT16_MAX) + " pages.";
    return std::move(outcome_);
  }
  start_ = platform_.clock->monotonic();
  folderWasThere_ = platform_.files->isDirectory(job_.applicationPath + "Reports");
  if (job_.allPages && job_.stream) {
    runStream();
  } else if (job_.allPages) {
    totalRecords_ = job_.totalRecords;
    const auto total = static_cast<int16_t>(job_.pages.size());
    pageFiles_.assign(job_.pages.size(), std::string());
    for (int16_t p = 1; p <= total && !outcome_.cancelled && !stopped_; ++p) {
      const Page page = pageAt(p, p, total);
      if (!stopped_) generatePage(page, pageFileName(job_.baseName, p, total));
    }
    takeAllFormatted();
  } else {
    pageFiles_.assign(1, std::string());
    auto all = job_.stream ? job_.stream->countAll() : Result<int64_t>(int64_t{job_.totalRecords});
    if (!all) sourceFailed(all.error());
    totalRecords_ = static_cast<int32_t>(all.valueOr(0));
    const Page page = pageAt(job_.currentPage, 1, 1);
    if (!stopped_) generatePage(page, job_.baseName);
  }
  takeWritten(output_.settle());
  outcome_.warnings = pictures_.warnings();
  commit();
  if (outcome_.sourceError.empty() && outcome_.refusal.empty()) finish();
  return std::move(outcome_);
}

// The pages of a streamed job, read in order as they are written. While the source is still
// counted (see Counting::WhileRead) a page known not to be the last is written all but its end
// (the links to the other pages, which need their number); the ends, and the progress of those
// pages, follow once the count is known. That needs the links to close the page's last section:
// pages of whole sections. A source that fails stops the run.
void GenerationDriver::runStream() {
  PageStream& stream = *job_.stream;
  const bool ahead = stream.pageSize() % kSectionRecords == 0;
  for (int32_t p = 1; !outcome_.cancelled && !stopped_; ++p) {
    auto at = stream.extent(p);
    if (!at) return sourceFailed(at.error());
    if (at.value().records == 0) break;
    std::optional<int64_t> records = stream.total();
    if (!records && (!ahead || at.value().last || p > kMostPagesBegunUncounted)) {
      auto all = stream.countAll();
      if (!all) return sourceFailed(all.error());
      records = all.value();
    }
    if (records && totalPages_ == 0 && !settle(*records)) break;
    const auto number = static_cast<int16_t>(p);
    const Page page = pageAt(number, number, totalPages_);
    const int16_t named = totalPages_ > 0 ? totalPages_ : 2;  // a page held is not the only one
    if (!stopped_) generatePage(page, pageFileName(job_.baseName, number, named));
  }
  takeAllFormatted();
  endHeldAfterStop();
}

// A write error stopped the run while pages were held: those before it are ended once the count
// is known, so that they are kept as they would have been had the count come first.
void GenerationDriver::endHeldAfterStop() {
  const bool failed = !outcome_.sourceError.empty() || !outcome_.refusal.empty();
  if (held_.empty() || totalPages_ > 0 || failed) return;
  auto all = job_.stream->countAll();
  if (!all) return sourceFailed(all.error());
  settle(all.value());
}

// The records are all known: a report of too many pages is refused; the pages written without
// their ends get them.
bool GenerationDriver::settle(int64_t records) {
  auto pages = pageCountOf(records, job_.stream->pageSize());
  if (!pages || records > INT32_MAX) {
    outcome_.refusal = pages ? "too many records for one report" : pages.error().message;
    stopped_ = true;
    return false;
  }
  totalPages_ = pages.value();
  totalRecords_ = static_cast<int32_t>(records);
  endHeldPages();
  return !outcome_.cancelled && !stopped_;
}

// Each page held gets its progress, then its end, a few pages' ends written at once (see
// PageOutput::writeEnds); a cancel leaves the pages after it unended, so they are never put in
// place.
void GenerationDriver::endHeldPages() {
  takeAllFormatted();
  takeWritten(output_.settle());  // a start that failed is known before its end is written
  std::vector<PageOutput::Page> ends;
  for (Held& held : held_) {
    const Page page{held.place.page, held.place.page, totalPages_, nullptr};
    if (sectionSlotsCancelled(held.place.wholeSections, page)) break;
    if (held.lost) continue;
    held.place.totalPages = totalPages_;
    held.place.totalRecords = totalRecords_;
    PageText text = spareText(false);
    writer_.appendPageEnd(text, held.place);
    ends.push_back({held.fileName, std::move(text), Status::ok(), false, PageOutput::Part::End});
    if (ends.size() == kEndsAtOnce) takeWritten(output_.writeEnds(std::exchange(ends, {})));
  }
  takeWritten(output_.writeEnds(std::move(ends)));
  held_.clear();
}

// The pages of a streamed job are read in order, as they are written; a source that fails stops
// the run.
GenerationDriver::Page GenerationDriver::pageAt(int16_t number, int16_t place, int16_t total) {
  if (job_.stream) {
    if (!hasPage(number)) return {number, place, total, nullptr};
    auto records = job_.stream->page(number);
    if (records) return {number, place, total, std::move(records).value()};
    sourceFailed(records.error());
    return {number, place, total, nullptr};
  }
  if (!hasPage(number)) return {number, place, total, nullptr};
  const auto& page = job_.pages[static_cast<size_t>(number - 1)];
  if (!page) return {number, place, total, nullptr};
  return {number, place, total, std::make_shared<PageRecords>(page)};
}

// Whether the job has page `number`; of a streamed job, once that is known (a source that failed
// meanwhile is met when the page is read).
bool GenerationDriver::hasPage(int32_t number) const {
  if (number < 1) return false;
  if (!job_.stream) return static_cast<size_t>(number) <= job_.pages.size();
  auto at = job_.stream->extent(number);
  return !at || at.value().records > 0;
}

// Whether the pages are written on a thread of their own while the next is formatted: on a
// machine with a processor free for it, when there is a next page.
bool GenerationDriver::writerThread() const {
  return std::thread::hardware_concurrency() > 1 && job_.allPages && hasPage(2);
}

// The pages between the first and the last are formatted on threads of their own, one for each
// processor (up to four) of a machine that has more than one, when they are read from the source as
// they are written and each holds whole sections: a page's statistics are then its own. The first
// page (which starts the minimums and maximums and may show the logo) and the last (whose
// statistics take in every page's) are formatted here. Pictures are named in the order their cells
// are written, so a report of pictures is formatted here whole.
size_t GenerationDriver::formatterThreads() const {
  const bool apart = job_.stream && job_.allPages && !job_.containPictureFields &&
                     job_.stream->pageSize() % kSectionRecords == 0 && hasPage(3);
  const unsigned processors = std::thread::hardware_concurrency();
  return apart && processors > 1 ? std::min(processors, kMostFormatters) : 0;
}

// The folder of the pages, with a trailing separator.
std::string GenerationDriver::reportsFolder() const {
  return job_.applicationPath + "Reports" + separatorOf(job_.applicationPath);
}

// A page is built whole beside the pages; the pages built are put in place together at the end
// (see commit), so a source that fails, a cancel with delete or a killed run leaves every file as
// it was. Only pages put in place are listed as generated.
void GenerationDriver::generatePage(const Page& page, const std::string& fileName) {
  const std::string& appPath = job_.applicationPath;
  const std::string folder = appPath + "Reports";
  const Status ready = platform_.files->ensureDirectory(folder);
  // A folder that cannot be made fails every page alike: one error, and the run stops there.
  if (!ready) {
    failHere(ready.error());
    stopped_ = true;
  }
  PagePlace place;
  place.filePath = folder + separatorOf(appPath) + fileName;
  if (job_.stream && job_.allPages && static_cast<size_t>(page.place) > pageFiles_.size())
    pageFiles_.resize(static_cast<size_t>(page.place));
  const bool listed = page.place >= 1 && static_cast<size_t>(page.place) <= pageFiles_.size();
  if (listed) pageFiles_[static_cast<size_t>(page.place - 1)] = place.filePath;
  place.records = page.records ? page.records->count() : 0;
  place.wholeSections = place.records / kSectionRecords;
  // Of a page written before the number of pages is known, the progress comes with its end.
  if (page.total > 0 && sectionSlotsCancelled(place.wholeSections, page)) return;
  if (!page.records || !ready) return;
  place.heading = "Vol " + std::to_string(page.number) + " of " + job_.title + "<Br>" +
                  (job_.dateLine.empty() ? job_.title : job_.dateLine);
  place.page = page.place;
  place.totalPages = page.total;
  place.totalRecords = totalRecords_;
  // While the writer is behind, the pages are formatted here: the processors are busy writing,
  // and a formatter would only take time from the writer (on two processors writing the files
  // may cost as much as formatting them).
  if (formatters_ && page.place > 1 && page.place < page.total && !output_.behind())
    return formatApart(page, std::move(place), fileName);
  takeAllFormatted();  // the statistics of the pages formatted apart come first
  if (stopped_) return;
  PageText text = pageText(page, place);
  // Records that could not all be read stop the run, and no page of it is put in place.
  if (Status read = page.records->status(); !read) return sourceFailed(read.error());
  writePage(fileName, std::move(text), place);
}

// The page's records are read here, in order, and the page is handed to a formatter.
void GenerationDriver::formatApart(const Page& page, PagePlace place, const std::string& fileName) {
  auto records = page.records->readAhead();
  if (!records) return sourceFailed(records.error());
  while (formatters_->pending() >= kApartPerThread * formatters_->threads()) takeFormatted();
  const int32_t before = (page.number - 1) * job_.stream->pageSize();
  formatters_->add(
      {std::move(records).value(), std::move(place), fileName, before, spareText(true), {}});
}

// The first page handed to the formatters and not yet written: its statistics join the run's,
// and it is written unless the run stopped meanwhile.
void GenerationDriver::takeFormatted() {
  PageFormatters::Page page = formatters_->takeFirst();
  writer_.statistics().addApart(page.statistics);
  if (!stopped_) writePage(std::move(page.fileName), std::move(page.text), page.place);
}

void GenerationDriver::takeAllFormatted() {
  while (formatters_ && formatters_->pending() > 0) takeFormatted();
}

// A page written whole, or, while the number of pages is not known, its start: its end follows
// (see endHeldPages).
void GenerationDriver::writePage(std::string fileName, PageText text, const PagePlace& place) {
  pageRoom_ = std::max(pageRoom_, text.own().size());
  const bool whole = place.totalPages > 0;
  if (!whole) held_.push_back({fileName, place});
  output_.write({std::move(fileName), std::move(text), Status::ok(), false,
                 whole ? PageOutput::Part::Whole : PageOutput::Part::Start});
  takeWritten(output_.done());
}

// An empty text, with room from an earlier page when there is one; one for a page (not an end)
// has room for the longest page so far, so that it is not grown step by step.
PageText GenerationDriver::spareText(bool forPage) {
  PageText text;
  if (!spareTexts_.empty()) {
    text = std::move(spareTexts_.back());
    spareTexts_.pop_back();
  }
  if (forPage) text.own().reserve(pageRoom_);
  return text;
}

// What became of the pages written: those put in place are listed, in page order.
// The room of the pages' texts is kept for the pages still to come.
void GenerationDriver::takeWritten(std::vector<PageOutput::Page> pages) {
  for (PageOutput::Page& page : pages) {
    if (spareTexts_.size() < 4) spareTexts_.push_back(std::move(page.text));
    if (page.skipped && page.part == PageOutput::Part::Start) startLost(page.fileName);
    if (page.skipped) continue;
    if (!page.status) {
      fail(page.status.error());
      if (page.part == PageOutput::Part::Start) startLost(page.fileName);
    } else if (page.part != PageOutput::Part::Start) {
      built_.push_back(page.fileName);
    }
  }
}

// A page whose start failed gets no end: its error is its answer.
void GenerationDriver::startLost(const std::string& fileName) {
  for (Held& held : held_)
    if (held.fileName == fileName) held.lost = true;
}

PageText GenerationDriver::pageText(const Page& page, const PagePlace& place) {
  PageText text = spareText(true);
  writer_.appendPage(text, place, *page.records);
  return text;
}

// A page that alone cannot be written (a folder in its place) leaves the others to be written;
// a full disk would fail every page after it, and a link planted among the pages means the
// folder is not to be written into.
void GenerationDriver::fail(const Error& error) {
  outcome_.errors.push_back(error.message);
  if (error.number == err::kDiskFull || error.number == err::kPermissionDenied) stopped_ = true;
}

// An error met here, listed after those of the pages handed to the writer before it.
void GenerationDriver::failHere(const Error& error) {
  takeWritten(output_.settle());
  fail(error);
}

// Progress before each of the page's section slots, after the host's events have run.
bool GenerationDriver::sectionSlotsCancelled(int32_t slots, const Page& page) {
  for (int32_t k = 0; k <= slots; ++k) {
    platform_.loop->processEvents();
    const double seconds =
        std::chrono::duration<double>(platform_.clock->monotonic() - start_).count();
    progress_.step({page.total, page.place, static_cast<int32_t>(std::nearbyint(seconds))});
    if (progress_.cancelled()) {
      outcome_.cancelled = true;
      return true;
    }
  }
  return false;
}

// The source failed: nothing of the run is put in place, as when the source is read whole.
void GenerationDriver::sourceFailed(const Error& error) {
  takeWritten(output_.settle());
  outcome_.sourceError = error.message;
  stopped_ = true;
}

// The pages built are put in place together; a source that failed, or a cancel with delete,
// drops them and leaves every file as it was (with --replace too: the earlier pages stay).
void GenerationDriver::commit() {
  const bool dropped = !outcome_.sourceError.empty() || !outcome_.refusal.empty() ||
                       (outcome_.cancelled && progress_.deleteOnCancel());
  if (!dropped && (!built_.empty() || job_.output.replaceEarlier)) {
    const std::vector<Status> put =
        output_.commit(built_, job_.output.replaceEarlier ? &job_.baseName : nullptr);
    const std::string folder = reportsFolder();
    for (size_t i = 0; i < put.size(); ++i) {
      if (put[i] && i < built_.size())
        outcome_.files.push_back(folder + built_[i]);
      else if (!put[i])
        fail(put[i].error());
    }
  }
  output_.discard();
  // A source that failed, or a count refused, leaves no trace: not even the folder made for it.
  const bool unmade = !outcome_.sourceError.empty() || !outcome_.refusal.empty();
  if (unmade && !folderWasThere_) (void)platform_.files->remove(job_.applicationPath + "Reports");
}

// The PDF beside the pages, then the browser, then the printer: the pages rendered as the browser
// shows them, in page order, as one job (a print system given HTML would print its source).
// Nothing when the pages were dropped on cancel.
void GenerationDriver::finish() {
  if (outcome_.cancelled && progress_.deleteOnCancel()) return;
  // The pages are written by now: a browser or printer that fails is worth a word, not a failure.
  auto& warnings = outcome_.warnings;
  ReportDocument document(platform_, outcome_.files, job_.baseName);
  const bool written = !outcome_.files.empty();
  if (job_.output.pdf && written)
    if (Status s = document.writeBeside(reportsFolder()); !s)
      warnings.push_back("no PDF written: " + s.error().message);
  // A file:// URL: an opener that would hand a bare path with blanks to a temporary copy opens
  // the page in place, with its pictures and its links to the other pages.
  if (job_.openInBrowser && !pageFiles_.empty() &&
      !activateLink(platform_, links_, LinkMode::OpenTarget, fileUrl(pageFiles_.front()), false))
    warnings.push_back("no browser could show " + pageFiles_.front());
  if (job_.print && written)
    if (Status s = document.print(); !s) warnings.push_back("not printed: " + s.error().message);
}

}  // namespace

ReportOutcome runReport(const ReportJob& job, Platform& platform, ReportProgress& progress,
                        HyperlinkState& links) {
  return GenerationDriver(job, platform, progress, links).run();
}

}  // namespace quelo
