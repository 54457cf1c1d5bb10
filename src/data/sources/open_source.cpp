#include "data/sources/open_source.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "data/recordset/row_source.h"
#include "data/sources/clickhouse_source.h"
#include "data/sources/csv_source.h"
#include "data/sources/odbc_source.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

constexpr const char* kSampleQuery =
    "SELECT Name, Price, Quantity, Added, Website, Picture FROM products ORDER BY id";

// The files the sources read: the machine's. It holds no state, so one serves every record set
// for as long as that lives.
FileSystem& machineFiles() {
  static PosixFileSystem files;
  return files;
}

// The folder of the running program, with a trailing "/" (empty when it cannot be read).
std::string programFolder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string() + "/";
}

Result<std::shared_ptr<RowSource>> rowSource(const SourceDescription& s) {
  switch (s.kind) {
    case SourceKind::Sqlite:
      return sqliteQuery(machineFiles(), s.location, s.query);
    case SourceKind::Csv:
      return csvFile(machineFiles(), s.location == "-" ? "/dev/stdin" : s.location, s.csv);
    case SourceKind::Postgres:
      return postgresQuery(s.location, s.query);
    case SourceKind::Odbc:
      return odbcQuery(s.location, s.query);
    case SourceKind::Clickhouse:
      return clickhouseQuery(s.location, s.query);
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
  const auto folder = [](const std::filesystem::path& path) {
    std::string normal = path.lexically_normal().string();
    return normal.ends_with('/') ? normal : normal + "/";
  };
  if (const char* dir = std::getenv("QUELO_SAMPLE_DIR"); dir && *dir) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, error);
    return folder(error ? std::filesystem::path(dir) : absolute);
  }
  // Installed, the data directory lies beside the program's; in the build tree the sample data
  // lies where the build writes it. Both are relative to the program, so a moved tree still works.
  const auto beside = [&](const char* relative) { return folder(programFolder() + relative); };
  for (const char* relative : {QUELO_SAMPLE_INSTALLED, QUELO_SAMPLE_BUILT})
    if (machineFiles().exists(beside(relative) + "products.db")) return beside(relative);
  return beside(QUELO_SAMPLE_INSTALLED);
}

std::string samplePictureFolder() { return sampleDataFolder() + "pictures/"; }

Result<std::shared_ptr<Recordset>> openSource(const SourceDescription& source, Counting counting) {
  auto rows = rowSource(source);
  if (!rows) return rows.error();
  return openCountedOrWhole(std::move(rows).value(), counting);
}

Result<std::shared_ptr<Recordset>> openCountedOrWhole(std::shared_ptr<RowSource> source,
                                                      Counting counting) {
  auto counted = Recordset::open(countedRows(source, counting), ado::adOpenForwardOnly);
  if (counted && (counting == Counting::WhileRead || counted.value()->countedRecords()))
    return counted;
  if (!counted && counted.error().number != ado::kErrNotSupported) return counted.error();
  return Recordset::open(std::move(source), ado::adOpenStatic, ado::adLockReadOnly);
}

}  // namespace quelo
