#include "data/public_records.h"

#include "data/host_rows.h"
#include "data/sources/clickhouse_source.h"
#include "data/sources/csv_source.h"
#include "data/sources/odbc_source.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"

namespace varnikquelo {
namespace {

using RowsOf = std::function<std::shared_ptr<quelo::RowSource>(quelo::FileSystem&)>;

Records overRows(RowsOf rows) { return RecordsAccess::make({std::move(rows), nullptr}); }

// Records held in memory, each pass from the first row.
class Table : public RecordSource {
 public:
  using Rows = std::vector<std::vector<Value>>;
  Table(std::vector<Field> fields, Rows rows)
      : fields_(std::move(fields)), rows_(std::make_shared<const Rows>(std::move(rows))) {}
  std::vector<Field> fields() const override { return fields_; }
  std::unique_ptr<RecordCursor> read() const override { return std::make_unique<Cursor>(rows_); }

 private:
  class Cursor : public RecordCursor {
   public:
    explicit Cursor(std::shared_ptr<const Rows> rows) : rows_(std::move(rows)) {}
    bool next(std::vector<Value>& row) override {
      if (next_ == rows_->size()) return false;
      row = (*rows_)[next_++];
      return true;
    }
    int64_t count() const override { return static_cast<int64_t>(rows_->size()); }

   private:
    std::shared_ptr<const Rows> rows_;  // the cursor may outlive the table
    size_t next_ = 0;
  };

  std::vector<Field> fields_;
  std::shared_ptr<const Rows> rows_;
};

}  // namespace

Records::Records() = default;
Records::Records(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Records Records::sqlite(std::string databaseFile, std::string query) {
  return overRows([=](quelo::FileSystem& files) { return quelo::sqliteQuery(files, databaseFile, query); });
}

Records Records::csv(std::string file, char delimiter) { return csv(std::move(file), delimiter, {}); }

Records Records::csv(std::string file, char delimiter, std::string encoding) {
  quelo::CsvFormat format = quelo::CsvFormat::delimitedBy(delimiter);
  format.encoding = std::move(encoding);
  return overRows([=](quelo::FileSystem& files) { return quelo::csvFile(files, file, format); });
}

Records Records::postgres(std::string connectionString, std::string query) {
  return overRows([=](quelo::FileSystem&) { return quelo::postgresQuery(connectionString, query); });
}

Records Records::odbc(std::string connection, std::string query) {
  return overRows([=](quelo::FileSystem&) { return quelo::odbcQuery(connection, query); });
}

Records Records::clickhouse(std::string url, std::string query) {
  return overRows([=](quelo::FileSystem&) { return quelo::clickhouseQuery(url, query); });
}

Records Records::host(std::shared_ptr<const RecordSource> source) {
  if (!source) return Records();
  return overRows([rows = quelo::hostRows(std::move(source))](quelo::FileSystem&) { return rows; });
}

Records Records::table(std::vector<Field> fields, std::vector<std::vector<Value>> rows) {
  return host(std::make_shared<const Table>(std::move(fields), std::move(rows)));
}

}  // namespace varnikquelo

namespace quelo {

Result<std::shared_ptr<Recordset>> openRecords(const varnikquelo::Records& records, FileSystem& files) {
  if (!records) return makeError(err::kInvalidProcedureCall, "no records");
  const varnikquelo::RecordsAccess::Impl& impl = *varnikquelo::RecordsAccess::impl(records);
  if (impl.recordset) {
    if (!impl.recordset->isOpen()) return makeError(err::kInvalidProcedureCall, "the record set is not open");
    return impl.recordset;
  }
  return Recordset::open(impl.rows(files), ado::adOpenStatic, ado::adLockReadOnly);
}

varnikquelo::Records recordsOf(std::shared_ptr<Recordset> recordset) {
  return varnikquelo::RecordsAccess::make({nullptr, std::move(recordset)});
}

}  // namespace quelo
