// Streams the rows of an SQLite query into record-set rows.
#include "data/sources/sqlite_source.h"

#include <sqlite3.h>

#include <cstdint>

#include "data/sources/typed_text.h"
#include "automation/text.h"
#include "data/recordset/ado.h"
#include "platform/read_watch.h"

namespace quelo {
namespace {

std::string_view textOf(sqlite3_stmt* stmt, int column) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
  return {bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(stmt, column))};
}

// The type of a column without a usable declared type, from its first value.
FieldInfo typeOfValue(int storageClass, std::string_view text) {
  using namespace ado;
  int32_t type = adVarWChar;
  if (storageClass == SQLITE_INTEGER) type = adInteger;
  if (storageClass == SQLITE_FLOAT) type = adDouble;
  if (storageClass == SQLITE_TEXT) type = characterCount(text) > 255 ? adLongVarWChar : adVarWChar;
  if (storageClass == SQLITE_BLOB) type = adLongVarBinary;
  return FieldInfo{"", type, defaultDefinedSize(type), sourceAttributes(type)};
}

// Virtual machine steps between two looks at whether the read is to stop.
constexpr int kStopCheckSteps = 10000;

// A run of the query.
class SqliteStream : public RowStream {
 public:
  ~SqliteStream() override {
    sqlite3_finalize(stmt_);
    sqlite3_close(db_);
  }

  Status start(FileSystem* files, const std::string& file, const std::string& sql) {
    file_ = file;
    if (auto info = files->stat(file_); !info) {
      if (info.error().number == err::kFileNotFound) return makeError(err::kFileNotFound, "File not found: " + file_);
      return info.error();
    }
    if (sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
      return failure("cannot open the database");
    sqlite3_busy_timeout(db_, 5000);
    // A long query (a count, a sort) is interrupted when the read is stopped.
    sqlite3_progress_handler(db_, kStopCheckSteps, [](void*) { return readStopRequested() ? 1 : 0; }, nullptr);
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, &tail) != SQLITE_OK)
      return failure("the query failed");
    if (!stmt_) return refusal("the query is empty");
    if (std::string_view(tail).find_first_not_of(" \t\r\n;") != std::string_view::npos)
      return refusal("the query holds more than one statement");
    if (sqlite3_column_count(stmt_) == 0) return refusal("the query returns no columns");
    if (ReadWatch* watch = currentReadWatch()) watch->beginPass(-1);
    if (Status s = step(); !s) return s;
    describeColumns();
    return Status::ok();
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }

  Result<bool> readRow(RowTable& table) override {
    if (!haveRow_) return false;
    const int64_t r = table.appendRow();
    for (int c = 0; c < static_cast<int>(fields_.size()); ++c) table.setCell(r, c, cell(c));
    ++rowsRead_;
    if (Status s = step(); !s) return s.error();
    return true;
  }

  // The statement's row is the current row: the first is read by start().
  Result<bool> next() override {
    if (inPlace_ && haveRow_) {
      ++rowsRead_;
      if (Status s = step(); !s) return s.error();
    }
    inPlace_ = true;
    return haveRow_;
  }

  // Text and bytes are viewed in the statement's own buffers. The column's value is read through
  // the value interface, which skips the statement's per-call checks; the connection is this
  // stream's alone, so no other thread reads it meanwhile.
  CellView cell(int column) const override {
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    CellView c;
    switch (sqlite3_value_type(value)) {
      case SQLITE_NULL:
        c.kind = CellKind::Null;
        return c;
      case SQLITE_INTEGER: {
        const int32_t type = fields_[column].type;
        c.integer = sqlite3_value_int64(value);
        if (type == ado::adBoolean) {
          c.kind = CellKind::Boolean;
          c.integer = c.integer != 0;
        } else {
          const bool narrow = type != ado::adBigInt && c.integer >= INT32_MIN && c.integer <= INT32_MAX;
          c.kind = narrow ? CellKind::Long : CellKind::LongLong;
        }
        return c;
      }
      case SQLITE_FLOAT:
        c.kind = CellKind::Double;
        c.real = sqlite3_value_double(value);
        return c;
      case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
        c.kind = CellKind::Bytes;
        c.text = {bytes ? bytes : "", static_cast<size_t>(sqlite3_value_bytes(value))};
        return c;
      }
      default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return typedCell(fields_[column].type, {text ? text : "", static_cast<size_t>(sqlite3_value_bytes(value))});
      }
    }
  }

 private:
  Error refusal(std::string_view what) const { return ado::dataSourceError(file_ + ": " + std::string(what)); }
  // What failed, and SQLite's own message.
  Error failure(std::string_view what) const {
    return ado::dataSourceError(file_ + ": " + std::string(what) + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory"));
  }

  Status step() {
    const int rc = sqlite3_step(stmt_);
    haveRow_ = rc == SQLITE_ROW;
    if (rc == SQLITE_DONE) return Status::ok();
    if (rc == SQLITE_ROW) return countRow() ? Status::ok() : Status(readStopped());
    if (rc == SQLITE_INTERRUPT) return readStopped();
    return failure("reading row " + std::to_string(rowsRead_ + 1) + " failed");
  }

  void describeColumns() {
    for (int c = 0; c < sqlite3_column_count(stmt_); ++c) {
      const char* declared = sqlite3_column_decltype(stmt_, c);
      auto info = declared ? sqliteColumnType(declared) : std::nullopt;
      FieldInfo f = info ? *info : typeOfFirstValue(c);
      const char* name = sqlite3_column_name(stmt_, c);
      f.name = name && *name ? name : "Column" + std::to_string(c + 1);
      fields_.push_back(std::move(f));
    }
  }

  // Asks for the text only of a text value: reading a number or blob as text would convert it.
  FieldInfo typeOfFirstValue(int column) {
    const int storageClass = haveRow_ ? sqlite3_column_type(stmt_, column) : SQLITE_NULL;
    return typeOfValue(storageClass, storageClass == SQLITE_TEXT ? textOf(stmt_, column) : "");
  }

  std::string file_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  std::vector<FieldInfo> fields_;
  bool haveRow_ = false;
  bool inPlace_ = false;  // read with next(): the statement's row has been handed out
  int64_t rowsRead_ = 0;
};

class SqliteQuery : public RowSource {
 public:
  SqliteQuery(FileSystem& files, std::string file, std::string sql)
      : files_(files), file_(std::move(file)), sql_(std::move(sql)) {}

  Result<std::unique_ptr<RowStream>> run() const override { return startStream<SqliteStream>(&files_, file_, sql_); }
  std::string description() const override { return "sqlite:" + file_; }

 private:
  FileSystem& files_;
  std::string file_, sql_;
};

}  // namespace

std::shared_ptr<RowSource> sqliteQuery(FileSystem& files, std::string databaseFile, std::string sql) {
  return std::make_shared<SqliteQuery>(files, std::move(databaseFile), std::move(sql));
}

}  // namespace quelo
