#include "report_source.h"

#include <cstdlib>

#include "data/sources/csv_source.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"
#include "platform/file_system.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"

namespace quelo::cli {
namespace {

constexpr const char* kSampleQuery =
    "SELECT Name, Price, Quantity, Added, Website, Picture FROM products ORDER BY id";

Result<std::shared_ptr<RowSource>> rowSource(const ReportOptions& o) {
  switch (o.source) {
    case SourceKind::Sqlite:
      return sqliteQuery(o.location, o.query);
    case SourceKind::Csv:
      return csvFile(o.location, o.delimiter);
    case SourceKind::Postgres:
      return postgresQuery(o.location, o.query);
    case SourceKind::Sample:
      break;
  }
  const std::string db = sampleDataFolder() + "products.db";
  if (!PosixFileSystem().exists(db))
    return makeError(err::kFileNotFound,
                     "the sample data is missing: " + db +
                         " (build the project, or point QUELO_SAMPLE_DIR at its folder)");
  return sqliteQuery(db, kSampleQuery);
}

}  // namespace

std::string sampleDataFolder() {
  const char* dir = std::getenv("QUELO_SAMPLE_DIR");
  return absoluteFolder(dir && *dir ? dir : QUELO_SAMPLE_DIR);
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
  // A counted run is read once, page by page, as the report is written; a source that cannot
  // count ahead is read whole first.
  auto counted = Recordset::open(countedRows(source.value()), ado::adOpenForwardOnly);
  if (counted || counted.error().number != ado::kErrNotSupported) return counted;
  return Recordset::open(std::move(source).value(), ado::adOpenStatic, ado::adLockReadOnly);
}

}  // namespace quelo::cli
