#include "report_source.h"

#include <cstdlib>
#include <filesystem>

#include "data/sources/clickhouse_source.h"
#include "data/sources/csv_source.h"
#include "data/sources/odbc_source.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"
#include "platform/posix/posix_file_system.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "reporter/report_api.h"

namespace quelo::cli {
namespace {

constexpr const char* kSampleQuery =
    "SELECT Name, Price, Quantity, Added, Website, Picture FROM products ORDER BY id";

// The files the sources read: the machine's. It holds no state, so one serves every record set
// for as long as that lives.
FileSystem& machineFiles() {
  static PosixFileSystem files;
  return files;
}

Result<std::shared_ptr<RowSource>> rowSource(const ReportOptions& o) {
  switch (o.source) {
    case SourceKind::Sqlite:
      return sqliteQuery(machineFiles(), o.location, o.query);
    case SourceKind::Csv:
      return csvFile(machineFiles(), o.location == "-" ? "/dev/stdin" : o.location, o.csv);  // - : standard input
    case SourceKind::Postgres:
      return postgresQuery(o.location, o.query);
    case SourceKind::Odbc:
      return odbcQuery(o.location, o.query);
    case SourceKind::Clickhouse:
      return clickhouseQuery(o.location, o.query);
    case SourceKind::Sample:
      break;
  }
  const std::string db = sampleDataFolder() + "products.db";
  if (!machineFiles().exists(db))
    return makeError(err::kFileNotFound,
                     "the sample data is missing: " + db +
                         " (install or build the project, or point QUELO_SAMPLE_DIR at its folder)");
  return sqliteQuery(machineFiles(), db, kSampleQuery);
}

}  // namespace

std::string sampleDataFolder() {
  const char* dir = std::getenv("QUELO_SAMPLE_DIR");
  if (dir && *dir) return absoluteFolder(dir);
  // Installed, the data directory lies beside the program's; in the build tree the sample data
  // lies where the build writes it. Both are relative to the program, so a moved tree still works.
  const auto beside = [](const char* relative) {
    return std::filesystem::path(programFolder() + relative).lexically_normal().string() + "/";
  };
  for (const char* relative : {QUELO_SAMPLE_INSTALLED, QUELO_SAMPLE_BUILT})
    if (machineFiles().exists(beside(relative) + "products.db")) return beside(relative);
  return beside(QUELO_SAMPLE_INSTALLED);
}

void useSampleDefaults(ReportOptions& options) {
  if (options.source != SourceKind::Sample) return;
  if (options.picFields.isMissing()) options.picFields = Variant("Picture");
  if (options.graphicFolder.isMissing())
    options.graphicFolder = Variant(sampleDataFolder() + "pictures/");
}

Result<std::shared_ptr<Recordset>> openReportSource(const ReportOptions& options) {
  auto source = rowSource(options);
  if (!source) return source.error();
  return openCountedOrWhole(std::move(source).value());
}

}  // namespace quelo::cli
