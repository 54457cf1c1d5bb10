#include "report/report_api.h"

#include <climits>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>

#include "component/hyperlink_state.h"
#include "component/platform.h"
#include "data/public_records.h"
#include "data/recordset/recordset.h"
#include "data/recordset/row_source.h"
#include "data/sources/open_source.h"
#include "files/path_rules.h"
#include "platform/file_system.h"
#include "report/automatic_report.h"
#include "report/generation_driver.h"
#include "report/page_stream.h"

struct varnikquelo::ReportSource::Impl {
  std::function<quelo::Result<std::shared_ptr<quelo::Recordset>>(quelo::FileSystem&)> open;
};

namespace varnikquelo {

namespace {

using quelo::Recordset;
using quelo::Result;

ReportSource overRows(std::function<std::shared_ptr<quelo::RowSource>(quelo::FileSystem&)> rows) {
  return ReportSourceAccess::make(
      std::make_shared<const ReportSourceAccess::Impl>(ReportSourceAccess::Impl{
          [rows = std::move(rows)](quelo::FileSystem& files) -> Result<std::shared_ptr<Recordset>> {
            return quelo::openCountedOrWhole(rows(files), quelo::Counting::WhileRead);
          }}));
}

}  // namespace

ReportSource::ReportSource() = default;
ReportSource::ReportSource(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

// The built-in sources are the public record sets' own, so a source opens the same way whether
// it is handed to the typed API or to the control.
ReportSource ReportSource::sqlite(std::string databaseFile, std::string query) {
  return records(Records::sqlite(std::move(databaseFile), std::move(query)));
}

ReportSource ReportSource::csv(std::string file, char delimiter) {
  return records(Records::csv(std::move(file), delimiter));
}
ReportSource ReportSource::csv(std::string file, char delimiter, std::string encoding) {
  return records(Records::csv(std::move(file), delimiter, std::move(encoding)));
}

ReportSource ReportSource::postgres(std::string connectionString, std::string query) {
  return records(Records::postgres(std::move(connectionString), std::move(query)));
}

ReportSource ReportSource::odbc(std::string connection, std::string query) {
  return records(Records::odbc(std::move(connection), std::move(query)));
}

ReportSource ReportSource::clickhouse(std::string url, std::string query) {
  return records(Records::clickhouse(std::move(url), std::move(query)));
}

ReportSource ReportSource::records(const Records& records) {
  if (!records) return ReportSource();
  const RecordsAccess::Impl& impl = *RecordsAccess::impl(records);
  if (impl.recordset) return quelo::recordsetSource(impl.recordset);
  return overRows(impl.rows);
}

ReportSource ReportSource::records(std::shared_ptr<const RecordSource> host) {
  return records(Records::host(std::move(host)));
}

}  // namespace varnikquelo

namespace quelo {

namespace {

using varnikquelo::ReportErrorCode;
using varnikquelo::ReportRequest;
using varnikquelo::ReportResult;

constexpr int32_t kMostFields = 32000;

RequestFault fault(ReportErrorCode code, std::string message,
                   RequestFault::Part part = RequestFault::Part::Other) {
  return RequestFault{{code, std::move(message)}, part};
}

ReportResult failed(ReportErrorCode code, std::string message) {
  ReportResult result;
  result.error = {code, std::move(message)};
  return result;
}

// The caller's callback as the run's progress sink. An exception it throws cancels the run and
// is kept for the result: none leaves the library.
class CallbackProgress : public ReportProgress {
 public:
  CallbackProgress(const ReportRequest& request) : request_(request) {}
  void step(const quelo::SectionStep& where) override {
    if (!request_.progress || cancelled_) return;
    try {
      cancelled_ = !request_.progress({where.totalPages, where.page, where.elapsedSeconds});
    } catch (const std::exception& e) {
      thrown_ = std::string("the progress callback threw: ") + e.what();
    } catch (...) {
      thrown_ = "the progress callback threw an exception";
    }
    cancelled_ = cancelled_ || !thrown_.empty();
  }
  bool cancelled() const override { return cancelled_; }
  bool deleteOnCancel() const override { return request_.deleteOnCancel; }
  const std::string& thrown() const { return thrown_; }

 private:
  const ReportRequest& request_;
  bool cancelled_ = false;
  std::string thrown_;
};

// The job's fields, sums and pictures; a fault names the first field the source does not have.
std::optional<RequestFault> takeFields(const ReportRequest& request, const FieldList* known,
                                       ReportJob& job) {
  job.fields = request.fields;
  if (job.fields.empty() && known)
    for (const FieldInfo& f : known->all()) job.fields.push_back(f.name);
  job.sums = request.sums;
  for (const auto& [field, folder] : request.pictures)
    job.pictureColumns.push_back({field, withTrailingSeparator(folder)});
  std::vector<std::string> named = job.fields;
  named.insert(named.end(), job.sums.begin(), job.sums.end());
  for (const PictureColumn& p : job.pictureColumns) named.push_back(p.field);
  for (const std::string& name : named)
    if (known && !known->indexOf(name))
      return fault(ReportErrorCode::UnknownField, "the source has no field " + name);
  if (job.fields.size() > static_cast<size_t>(kMostFields))
    return fault(ReportErrorCode::BadRequest,
                 std::to_string(job.fields.size()) + " output fields; a report holds at most " +
                     std::to_string(kMostFields),
                 RequestFault::Part::Fields);
  return std::nullopt;
}

SettingsRecord settingsOf(const varnikquelo::ReportSettings& s) {
  SettingsRecord out;
  out.fontName = s.fontName;
  out.header = s.header;
  out.footer = s.footer;
  out.useNotes = s.notes.empty() ? 0 : 1;
  out.notesPosition = s.notesAtBottom ? 1 : 0;
  out.notes = s.notes;
  out.logo = s.logo;
  out.signature = s.signature;
  out.website = s.website;
  out.email = s.email;
  return out;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += (out.empty() ? "" : "\n") + line;
  return out;
}

ReportResult resultOf(ReportOutcome outcome) {
  ReportResult result;
  result.pages = std::move(outcome.files);
  result.warnings = std::move(outcome.warnings);
  if (!outcome.sourceError.empty())
    result.error = {ReportErrorCode::SourceFailed, outcome.sourceError};
  else if (!outcome.refusal.empty())
    result.error = {ReportErrorCode::BadRequest, outcome.refusal};
  else if (!outcome.errors.empty())
    result.error = {ReportErrorCode::PagesLost, joined(outcome.errors)};
  else if (outcome.cancelled)
    result.error = {ReportErrorCode::Cancelled, "the report was cancelled"};
  return result;
}

// The records `records` gives from its first on, as far as `wanted`: a counted run is asked for
// that many (it may still be counting the rest), anything else for all of them.
Result<int64_t> recordsUpTo(Recordset& records, int64_t wanted) {
  if (records.onCountedRun()) return *records.runRecordsAtLeast(wanted);
  if (Status first = records.moveFirst(); !first) return first.error();
  return records.eof() ? Result<int64_t>(int64_t{0}) : records.recordCount();
}

// What the automatic report learns of its run once the run knows its count.
void completeAutomaticRun(AutomaticReport& automatic, const ReportJob& job, int32_t pageSize) {
  const std::optional<int64_t> total =
      job.stream ? job.stream->total() : std::optional<int64_t>(job.totalRecords);
  if (!total) return;
  automatic.records = *total;
  automatic.pageSize = pageSize;
  automatic.pages = !job.allPages ? 1 : pageCountOf(*total, pageSize).valueOr(0);
}

}  // namespace

varnikquelo::ReportSource recordsetSource(std::shared_ptr<Recordset> records) {
  using Impl = varnikquelo::ReportSourceAccess::Impl;
  return varnikquelo::ReportSourceAccess::make(std::make_shared<const Impl>(
      Impl{[records](FileSystem&) -> Result<std::shared_ptr<Recordset>> {
        if (!records || !records->isOpen())
          return makeError(err::kInvalidProcedureCall, "the record set is not open");
        return records;
      }}));
}

Result<int16_t> pageCountOf(int64_t total, int32_t pageSize) {
  const int64_t pages = (total + pageSize - 1) / pageSize;
  if (pages > INT16_MAX)
    return makeError(err::kInvalidProcedureCall,
                     std::to_string(total) + " records make " + std::to_string(pages) +
                         " pages of " + std::to_string(pageSize) + "; a report holds at most " +
                         std::to_string(INT16_MAX) + " pages");
  return static_cast<int16_t>(pages);
}

ReportPages streamedPages(const std::shared_ptr<Recordset>& records, int32_t pageSize) {
  ReportPages out;
  out.stream = std::make_shared<PageStream>(records, pageSize);
  if (out.stream->firstPage()) out.pages.push_back(out.stream->firstPage());
  return out;
}

Result<ReportPages> preparePages(const std::shared_ptr<Recordset>& records, int64_t total,
                                 int32_t pageSize) {
  auto count = pageCountOf(total, pageSize);
  if (!count) return count.error();
  if (records->countedRecords()) return streamedPages(records, pageSize);
  ReportPages out;
  out.pageCount = count.value();
  out.totalRecords = static_cast<int32_t>(total);
  for (int64_t first = 0; first < total; first += pageSize) {
    auto page = records->rowRange(first, std::min<int64_t>(pageSize, total - first));
    if (!page) return page.error();
    out.pages.push_back(std::move(page).value());
  }
  return out;
}

std::variant<ReportJob, RequestFault> reportJob(const ReportRequest& request, ReportPages pages,
                                                const FieldList* known, const FormExtras* form,
                                                Platform& platform) {
  ReportJob job;
  job.baseName = reportBaseName(platform, request.fileName);
  if (job.baseName.empty() && form) job.baseName = form->fallbackName;
  if (job.baseName.empty())
    return fault(ReportErrorCode::BadRequest, "no usable file name in \"" + request.fileName + "\"",
                 RequestFault::Part::FileName);
  if (auto wrong = takeFields(request, known, job)) return *wrong;
  job.containPictureFields = !job.pictureColumns.empty() || (form && form->pictureFieldsNamed);
  job.pages = std::move(pages.pages);
  job.stream = std::move(pages.stream);
  job.pageCount = pages.pageCount;
  job.totalRecords = pages.totalRecords;
  if (form) {
    job.allPages = form->allPages;
    job.currentPage = form->currentPage;
  }
  job.title = request.title;
  job.dateLine = request.dateLine;
  job.colour = request.colour;
  job.applicationPath = withTrailingSeparator(request.applicationPath.empty()
                                                  ? std::filesystem::current_path().string()
                                                  : request.applicationPath);
  job.advSettings = request.useSettings;
  job.settings = form ? form->settings : settingsOf(request.settings);
  job.output = {request.escapeValues, request.copyPictures, request.replaceEarlier, request.pdf};
  using varnikquelo::ReportAction;
  job.openInBrowser =
      request.action == ReportAction::Browse || request.action == ReportAction::BrowseAndPrint;
  job.print =
      request.action == ReportAction::Print || request.action == ReportAction::BrowseAndPrint;
  return job;
}

ReportResult makeReport(const ReportRequest& request, Platform& platform,
                        AutomaticReport* automatic) {
  const auto& source = varnikquelo::ReportSourceAccess::impl(request.source);
  if (!source) return failed(ReportErrorCode::NoSource, "no source of records");
  if (request.recordsPerPage < 1 && !automatic)
    return failed(ReportErrorCode::BadRequest, "records per page must be at least 1, not " +
                                                   std::to_string(request.recordsPerPage));
  auto records = source->open(*platform.files);
  if (!records) return failed(ReportErrorCode::SourceFailed, records.error().message);
  // A counted run is counted as its pages are written: only the records that settle the page
  // size are waited for here, and the run checks its number of pages once it knows it.
  const bool counted = records.value()->onCountedRun();
  const int64_t settling = automatic ? recordsSettlingPageSize(automatic->recordsPerPage) : 1;
  auto count = recordsUpTo(*records.value(), settling);
  if (!count) return failed(ReportErrorCode::SourceFailed, count.error().message);
  if (count.value() <= 0) return failed(ReportErrorCode::NoRecords, "the source holds no record");
  if (count.value() > INT32_MAX)
    return failed(ReportErrorCode::BadRequest, "too many records for one report");
  const int32_t pageSize =
      automatic ? pageSizeFor(count.value(), automatic->recordsPerPage) : request.recordsPerPage;
  auto pages = counted ? Result<ReportPages>(streamedPages(records.value(), pageSize))
                       : preparePages(records.value(), count.value(), pageSize);
  if (!pages)
    return failed(ReportErrorCode::BadRequest,
                  automatic ? tooManyRecords(pages.error().message) : pages.error().message);
  if (const auto& stream = pages.value().stream; stream && !stream->firstPage())
    return failed(ReportErrorCode::SourceFailed, stream->page(1).error().message);
  ReportRequest completed = request;
  std::optional<FormExtras> extras;
  if (automatic && !pages.value().pages.empty())
    extras = completeAutomatic(completed, *automatic, *pages.value().pages.front(), platform);
  if (automatic && completed.fields.empty()) return {};  // no field is output: nothing to write
  const FieldList* known = automatic ? nullptr : &records.value()->fields();
  auto job =
      reportJob(completed, std::move(pages).value(), known, extras ? &*extras : nullptr, platform);
  if (auto* wrong = std::get_if<RequestFault>(&job)) {
    const bool tooWide = automatic && wrong->part == RequestFault::Part::Fields;
    return failed(wrong->error.code,
                  tooWide ? tooManyFields(wrong->error.message) : wrong->error.message);
  }
  const ReportJob& made = std::get<ReportJob>(job);
  if (automatic) automatic->baseName = made.baseName;
  CallbackProgress progress(request);
  HyperlinkState links;  // the browser this report opens is its own
  ReportResult result = resultOf(runReport(made, platform, progress, links));
  if (automatic) completeAutomaticRun(*automatic, made, pageSize);
  // Refused by the run, when it came to know its count: too many records for the pages.
  if (automatic && result.error.code == ReportErrorCode::BadRequest)
    result.error.message = tooManyRecords(result.error.message);
  if (!progress.thrown().empty() && result.error.code == ReportErrorCode::Cancelled)
    result.error.message = progress.thrown();
  return result;
}

}  // namespace quelo
