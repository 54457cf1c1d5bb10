#include "report_data.h"

#include "data/recordset/recordset.h"
#include "automation/text.h"
#include "data/sources/open_source.h"

namespace quelo::gui {
namespace {

// A name as an SQL identifier: quoted, its quotes doubled.
std::string quotedName(const std::string& name) { return "\"" + replaceAll(name, "\"", "\"\"") + "\""; }

// The description of a source (a CSV file in its default format: a comma, UTF-8).
SourceDescription source(SourceKind kind, std::string location = {}, std::string query = {}) {
  SourceDescription s;
  s.kind = kind;
  s.location = std::move(location);
  s.query = std::move(query);
  return s;
}

// The records of a run that is read once, forward, taken into memory here, on the reading thread:
// the report form would otherwise copy them on the window's thread.
Result<std::shared_ptr<Recordset>> inMemory(std::shared_ptr<Recordset> records) {
  const std::optional<int64_t> count = records->countedRecords();
  if (!count) return records;
  return records->takeRecords(*count);
}

Result<ReportData> read(const SourceDescription& described) {
  auto opened = openSource(described);
  if (!opened) return opened.error();
  auto records = inMemory(std::move(opened).value());
  if (!records) return records.error();
  ReportData data;
  data.records = std::move(records).value();
  return data;
}

}  // namespace

Result<ReportData> sampleReportData() {
  auto data = read(source(SourceKind::Sample));
  if (!data) return data;
  data.value().picFields = Variant(kSamplePictureField);
  data.value().pictureFolder = Variant(samplePictureFolder());
  return data;
}

bool isCsvFile(const std::string& path) {
  const std::string lower = toLower(path);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".csv") == 0;
}

Result<ReportData> fileReportData(const std::string& path, const std::string& table) {
  if (isCsvFile(path)) return read(source(SourceKind::Csv, path));
  return read(source(SourceKind::Sqlite, path, "SELECT * FROM " + quotedName(table)));
}

Result<ReportData> odbcReportData(const std::string& connection, const std::string& query) {
  return read(source(SourceKind::Odbc, connection, query));
}

Result<std::vector<std::string>> sqliteTables(const std::string& path) {
  auto records = openSource(
      source(SourceKind::Sqlite, path, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
  if (!records) return records.error();
  Recordset& rs = *records.value();
  std::vector<std::string> names;
  for ((void)rs.moveFirst(); !rs.eof(); (void)rs.moveNext())
    if (auto name = rs.value(0)) names.push_back(toString(name.value()).valueOr(""));
  if (names.empty()) return makeError(err::kFileNotFound, path + " holds no table");
  return names;
}

}  // namespace quelo::gui
