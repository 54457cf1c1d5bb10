#include "reporter/report_api.h"

#include <climits>
#include <filesystem>
#include <functional>

#include "automation/text.h"
#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"
#include "hyperlink/hyperlink_state.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "reporter/generation_driver.h"

struct varnikquelo::ReportSource::Impl {
  std::function<quelo::Result<std::shared_ptr<quelo::Recordset>>(quelo::FileSystem&)> open;
};

namespace varnikquelo {

namespace {

using quelo::Recordset;
using quelo::Result;

ReportSource overRows(std::function<std::shared_ptr<quelo::RowSource>(quelo::FileSystem&)> rows) {
  return ReportSource(std::make_shared<const ReportSource::Impl>(
      ReportSource::Impl{[rows = std::move(rows)](quelo::FileSystem& files) -> Result<std::shared_ptr<Recordset>> {
        return Recordset::open(rows(files), quelo::ado::adOpenStatic, quelo::ado::adLockReadOnly);
      }}));
}

}  // namespace

ReportSource::ReportSource() = default;
ReportSource::ReportSource(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

ReportSource ReportSource::sqlite(std::string databaseFile, std::string query) {
  return overRows([=](quelo::FileSystem& files) { return quelo::sqliteQuery(files, databaseFile, query); });
}

ReportSource ReportSource::csv(std::string file, char delimiter) {
  return overRows([=](quelo::FileSystem& files) { return quelo::csvFile(files, file, delimiter); });
}

ReportSource ReportSource::postgres(std::string connectionString, std::string query) {
  return overRows([=](quelo::FileSystem&) { return quelo::postgresQuery(connectionString, query); });
}

}  // namespace varnikquelo

namespace quelo {

namespace {

using varnikquelo::ReportErrorCode;
using varnikquelo::ReportRequest;
using varnikquelo::ReportResult;

constexpr int32_t kMostFields = 32000;

ReportResult failed(ReportErrorCode code, std::string message) {
  ReportResult result;
  result.error = {code, std::move(message)};
  return result;
}

// The caller's callback as the run's progress sink.
class CallbackProgress : public ReportProgress {
 public:
  CallbackProgress(const ReportRequest& request) : request_(request) {}
  void step(const quelo::ReportStep& where) override {
    if (request_.progress && !request_.progress({where.totalPages, where.page, where.elapsedSeconds})) cancelled_ = true;
  }
  bool cancelled() const override { return cancelled_; }
  bool deleteOnCancel() const override { return request_.deleteOnCancel; }

 private:
  const ReportRequest& request_;
  bool cancelled_ = false;
};

std::string withSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// The first field among `names` that the record set does not have.
std::optional<std::string> unknownField(const Recordset& records, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (!records.fields().indexOf(name)) return name;
  return std::nullopt;
}

// The job's fields, sums and pictures; an error names the first field the source does not have.
Result<ReportJob> fieldsOf(const ReportRequest& request, const Recordset& records) {
  ReportJob job;
  job.fields = request.fields;
  if (job.fields.empty())
    for (const FieldInfo& f : records.fields().all()) job.fields.push_back(f.name);
  job.sums = request.sums;
  for (const auto& [field, folder] : request.pictures) job.pictureColumns.push_back({field, withSeparator(folder)});
  job.containPictureFields = !job.pictureColumns.empty();
  std::vector<std::string> named = job.fields;
  named.insert(named.end(), job.sums.begin(), job.sums.end());
  for (const PictureColumn& p : job.pictureColumns) named.push_back(p.field);
  if (auto unknown = unknownField(records, named))
    return makeError(err::kInvalidProcedureCall, "the source has no field " + *unknown);
  if (job.fields.size() > static_cast<size_t>(kMostFields))
    return makeError(err::kInvalidProcedureCall, std::to_string(job.fields.size()) + " output fields; a report holds at most " +
                                                std::to_string(kMostFields));
  return job;
}

// The record set cut into pages of `size` records.
Result<std::vector<std::shared_ptr<Recordset>>> pagesOf(const Recordset& records, int64_t total, int64_t size) {
  const int64_t pages = (total + size - 1) / size;
  if (pages > INT16_MAX)
    return makeError(err::kInvalidProcedureCall, std::to_string(total) + " records make " + std::to_string(pages) +
                                                " pages of " + std::to_string(size) + "; a report holds at most " +
                                                std::to_string(INT16_MAX) + " pages");
  std::vector<std::shared_ptr<Recordset>> out;
  for (int64_t first = 0; first < total; first += size) {
    auto page = records.rowRange(first, std::min(size, total - first));
    if (!page) return page.error();
    out.push_back(std::move(page).value());
  }
  return out;
}

ReportSettings settingsOf(const varnikquelo::ReportSettings& s) {
  ReportSettings out;
  out.FontName = s.fontName;
  out.Header = s.header;
  out.Footer = s.footer;
  out.UseNotes = s.notes.empty() ? 0 : 1;
  out.NotesPosition = s.notesAtBottom ? 1 : 0;
  out.Notes = s.notes;
  out.Logo = s.logo;
  out.Signature = s.signature;
  out.Website = s.website;
  out.Email = s.email;
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
  if (!outcome.refusal.empty()) result.error = {ReportErrorCode::BadRequest, outcome.refusal};
  else if (!outcome.errors.empty()) result.error = {ReportErrorCode::PagesLost, joined(outcome.errors)};
  else if (outcome.cancelled) result.error = {ReportErrorCode::Cancelled, "the report was cancelled"};
  return result;
}

}  // namespace

varnikquelo::ReportSource recordsetSource(std::shared_ptr<Recordset> records) {
  using Impl = varnikquelo::ReportSource::Impl;
  return varnikquelo::ReportSource(std::make_shared<const Impl>(
      Impl{[records](FileSystem&) -> Result<std::shared_ptr<Recordset>> {
        if (!records || !records->isOpen()) return makeError(err::kInvalidProcedureCall, "the record set is not open");
        return records;
      }}));
}

ReportResult makeReport(const ReportRequest& request, Platform& platform) {
  if (!request.source.impl()) return failed(ReportErrorCode::NoSource, "no source of records");
  if (request.recordsPerPage < 1)
    return failed(ReportErrorCode::BadRequest, "records per page must be at least 1, not " + std::to_string(request.recordsPerPage));
  auto records = request.source.impl()->open(*platform.files);
  if (!records) return failed(ReportErrorCode::SourceFailed, records.error().message);
  Recordset& rs = *records.value();
  const Status first = rs.moveFirst();
  auto count = !first ? Result<int64_t>(first.error()) : rs.eof() ? Result<int64_t>(int64_t{0}) : rs.recordCount();
  if (!count) return failed(ReportErrorCode::SourceFailed, count.error().message);
  if (count.value() <= 0) return failed(ReportErrorCode::NoRecords, "the source holds no record");
  if (count.value() > INT32_MAX) return failed(ReportErrorCode::BadRequest, "too many records for one report");

  auto job = fieldsOf(request, rs);
  if (!job) return failed(ReportErrorCode::UnknownField, job.error().message);
  auto pages = pagesOf(rs, count.value(), request.recordsPerPage);
  if (!pages) return failed(ReportErrorCode::BadRequest, pages.error().message);
  ReportJob& j = job.value();
  j.pages = std::move(pages).value();
  j.totalRecords = static_cast<int32_t>(count.value());
  j.title = request.title;
  j.dateLine = request.dateLine;
  j.colour = request.colour;
  j.baseName = reportBaseName(platform, request.fileName);
  if (j.baseName.empty()) return failed(ReportErrorCode::BadRequest, "no usable file name in \"" + request.fileName + "\"");
  j.applicationPath = withSeparator(request.applicationPath.empty() ? std::filesystem::current_path().string()
                                                                    : request.applicationPath);
  j.advSettings = request.useSettings;
  j.settings = settingsOf(request.settings);
  j.output = {request.escapeValues, request.copyPictures, request.replaceEarlier};
  j.openInBrowser = request.action == varnikquelo::ReportAction::Browse || request.action == varnikquelo::ReportAction::BrowseAndPrint;
  j.print = request.action == varnikquelo::ReportAction::Print || request.action == varnikquelo::ReportAction::BrowseAndPrint;
  CallbackProgress progress(request);
  HyperlinkState links;  // the browser this report opens is its own
  return resultOf(runReport(j, platform, progress, links));
}

}  // namespace quelo
