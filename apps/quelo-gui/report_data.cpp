#include "report_data.h"

#include "data/recordset/recordset.h"
#include "automation/text.h"
#include "report_source.h"

namespace quelo::gui {
namespace {

// A name as an SQL identifier: quoted, its quotes doubled.
std::string quotedName(const std::string& name) { return "\"" + replaceAll(name, "\"", "\"\"") + "\""; }

// The records of a run that is read once, forward, taken into memory here, on the reading thread:
// the report form would otherwise copy them on the window's thread.
Result<std::shared_ptr<Recordset>> inMemory(std::shared_ptr<Recordset> records) {
  const std::optional<int64_t> count = records->countedRecords();
  if (!count) return records;
  return records->takeRecords(*count);
}

Result<ReportData> read(const cli::ReportOptions& options) {
  auto opened = cli::openReportSource(options);
  if (!opened) return opened.error();
  auto records = inMemory(std::move(opened).value());
  if (!records) return records.error();
  ReportData data;
  data.records = std::move(records).value();
  data.picFields = options.picFields;
  data.pictureFolder = options.graphicFolder;
  return data;
}

}  // namespace

Result<ReportData> sampleReportData() {
  cli::ReportOptions options;
  cli::useSampleDefaults(options);
  return read(options);
}

bool isCsvFile(const std::string& path) {
  const std::string lower = toLower(path);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".csv") == 0;
}

Result<ReportData> fileReportData(const std::string& path, const std::string& table) {
  cli::ReportOptions options;
  options.location = path;
  if (isCsvFile(path)) {
    options.source = cli::SourceKind::Csv;
  } else {
    options.source = cli::SourceKind::Sqlite;
    options.query = "SELECT * FROM " + quotedName(table);
  }
  return read(options);
}

Result<ReportData> odbcReportData(const std::string& connection, const std::string& query) {
  cli::ReportOptions options;
  options.source = cli::SourceKind::Odbc;
  options.location = connection;
  options.query = query;
  return read(options);
}

Result<std::vector<std::string>> sqliteTables(const std::string& path) {
  cli::ReportOptions options;
  options.source = cli::SourceKind::Sqlite;
  options.location = path;
  options.query = "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name";
  auto records = cli::openReportSource(options);
  if (!records) return records.error();
  Recordset& rs = *records.value();
  std::vector<std::string> names;
  for ((void)rs.moveFirst(); !rs.eof(); (void)rs.moveNext())
    if (auto name = rs.value(0)) names.push_back(toString(name.value()).valueOr(""));
  if (names.empty()) return makeError(err::kFileNotFound, path + " holds no table");
  return names;
}

}  // namespace quelo::gui
