// Streams the rows of an ODBC query into record-set rows, a block of rows per fetch.
#include "data/sources/odbc_source.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <future>
#include <limits>
#include <optional>
#include <locale.h>

#include <system_error>

#include "automation/date_time.h"
#include "data/recordset/ado.h"
#include "data/recordset/spooled_rows.h"
#include "data/sources/odbc/odbc_library.h"
#include "data/sources/odbc/odbc_types.h"
#include "data/sources/query_statement.h"
#include "data/sources/odbc/server_dialects.h"
#include "data/sources/odbc/wide_text.h"
#include "data/sources/typed_text.h"

namespace quelo {
namespace {

constexpr SQLULEN kMostRowsPerBlock = 1024;
// Rows read one fetch at a time (a result with a long column) are converted in batches of at
// most this many, and of no more long values than a block's bytes.
constexpr int64_t kSingleRowsPerBatch = 256;
constexpr size_t kBlockBytes = size_t{1} << 20;
// Text and binary values longer than this (characters or bytes) are fetched in pieces.
constexpr int64_t kLongestBound = 4000;
constexpr SQLLEN kPieceBytes = 64 * 1024;

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// The driver's diagnostic records on one line: "message (SQLSTATE); message (SQLSTATE)".
std::string diagnostics(const Odbc& api, SQLSMALLINT handleType, SQLHANDLE handle) {
  std::string out;
  for (SQLSMALLINT record = 1; handle && record <= 8; ++record) {
    SQLWCHAR state[6] = {}, message[2048];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!succeeded(api.SQLGetDiagRecW(handleType, handle, record, state, &native, message, std::size(message), &length)))
      break;
    if (!out.empty()) out += "; ";
    const size_t start = out.size();
    appendUtf8(out, message, std::min<size_t>(length, std::size(message) - 1));
    std::replace_if(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += " (";
    appendUtf8(out, state, 5);
    out += ")";
  }
  return out.empty() ? "no diagnostic from the driver" : out;
}

// A column's buffer: `rows` values of `width` bytes (column-wise binding) and their lengths.
struct Column {
  OdbcColumnType type;
  SQLSMALLINT cType = SQL_C_WCHAR;
  SQLLEN width = 0;
  bool bound = false;  // else fetched with SQLGetData
  std::unique_ptr<char[]> data;
  std::unique_ptr<SQLLEN[]> lengths;
};

SQLSMALLINT cTypeOf(OdbcFetch fetch, bool narrowText) {
  switch (fetch) {
    case OdbcFetch::WholeNumber: return SQL_C_SBIGINT;
    case OdbcFetch::Single: return SQL_C_FLOAT;
    case OdbcFetch::Double: return SQL_C_DOUBLE;
    case OdbcFetch::Bit: return SQL_C_BIT;
    case OdbcFetch::Date: return SQL_C_TYPE_DATE;
    case OdbcFetch::Time: return SQL_C_TYPE_TIME;
    case OdbcFetch::Timestamp: return SQL_C_TYPE_TIMESTAMP;
    case OdbcFetch::Guid: return SQL_C_GUID;
    case OdbcFetch::Digits: return SQL_C_CHAR;
    case OdbcFetch::Binary: return SQL_C_BINARY;
    case OdbcFetch::Text: break;
  }
  return narrowText ? SQL_C_CHAR : SQL_C_WCHAR;
}

// Bytes of one value in a buffer; 0 for a value fetched in pieces. A character may take two
// UTF-16 units or four UTF-8 bytes, whatever unit the driver counts its column size in.
SQLLEN widthOf(const OdbcColumnType& t, SQLSMALLINT cType) {
  switch (t.fetch) {
    case OdbcFetch::WholeNumber: return sizeof(SQLBIGINT);
    case OdbcFetch::Single: return sizeof(SQLREAL);
    case OdbcFetch::Double: return sizeof(SQLDOUBLE);
    case OdbcFetch::Bit: return sizeof(SQLCHAR);
    case OdbcFetch::Date: return sizeof(SQL_DATE_STRUCT);
    case OdbcFetch::Time: return sizeof(SQL_TIME_STRUCT);
    case OdbcFetch::Timestamp: return sizeof(SQL_TIMESTAMP_STRUCT);
    case OdbcFetch::Guid: return sizeof(SQLGUID);
    case OdbcFetch::Digits: return t.maxLength > 0 && t.maxLength <= kLongestBound ? t.maxLength + 1 : 0;
    case OdbcFetch::Text:
      if (t.maxLength <= 0 || t.maxLength > kLongestBound) return 0;
      return cType == SQL_C_CHAR ? 4 * t.maxLength + 1 : (2 * t.maxLength + 1) * sizeof(SQLWCHAR);
    case OdbcFetch::Binary: return t.maxLength > 0 && t.maxLength <= kLongestBound ? t.maxLength : 0;
  }
  return 0;
}

// Whether a driver reads the whole connection string: its length goes to the driver as an
// SQLSMALLINT, and a NUL ends it early; a string cut short could name another database.
Status takenWhole(std::string_view connection, size_t units) {
  constexpr size_t kLongest = std::numeric_limits<SQLSMALLINT>::max();
  if (connection.find('\0') != std::string_view::npos)
    return ado::dataSourceError("ODBC: the connection string holds a NUL character");
  if (units > kLongest)
    return ado::dataSourceError("ODBC: the connection string is " + std::to_string(units) +
                                " characters (UTF-16 units) long; a driver takes at most " + std::to_string(kLongest));
  return Status::ok();
}

// The C locale with UTF-8 characters. The driver manager converts text between the wide
// functions and a driver without them (a query, column names, messages) in the character set of
// the calling thread's locale; in the program's C locale that is ASCII, and every other character
// would be cut to a byte.
class Utf8Locale {
 public:
  Utf8Locale() : locale_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {}
  ~Utf8Locale() {
    if (locale_) ::freelocale(locale_);
  }
  Utf8Locale(const Utf8Locale&) = delete;
  Utf8Locale& operator=(const Utf8Locale&) = delete;

  // For its life, the calling thread uses the locale (when the system has it).
  class InThread {
   public:
    explicit InThread(const Utf8Locale& utf8) : previous_(utf8.locale_ ? ::uselocale(utf8.locale_) : nullptr) {}
    ~InThread() {
      if (previous_) ::uselocale(previous_);
    }
    InThread(const InThread&) = delete;
    InThread& operator=(const InThread&) = delete;

   private:
    locale_t previous_;
  };

 private:
  locale_t locale_;
};

template <class T>
T read(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// A float as the double its shortest decimal form reads as (1.1f is 1.1, as its text would be).
double widened(float f) {
  if (!std::isfinite(f)) return f;
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, f);
  double d = f;
  std::from_chars(text, end, d);
  return d;
}

// Rows converted from the driver's buffers: the first `good` of `rows`, then the end of the
// query's rows or an error when there is one.
struct Batch {
  explicit Batch(int columns) : rows(columns) {}
  RowTable rows;
  int64_t good = 0;
  bool end = false;
  std::optional<Error> error;
};

// A run of the query, in the transaction that is rolled back at the end.
class OdbcStream : public RowStream {
 public:
  ~OdbcStream() override {
    if (ahead_.valid()) ahead_.wait();
    if (!api_) return;
    const Utf8Locale::InThread utf8(utf8_);
    if (stmt_) api_->SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
    if (connected_) {
      api_->SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
      api_->SQLDisconnect(dbc_);
    }
    if (dbc_) api_->SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    if (env_) api_->SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }

  // `fillAhead`: the next batch is filled on a thread of its own while one is read.
  Status start(const std::string& connection, const std::string& sql, bool fillAhead) {
    fillAhead_ = fillAhead;
    const Utf8Locale::InThread utf8(utf8_);
    auto library = odbc();
    if (!library) return library.error();
    api_ = library.value();
    if (Status s = connect(connection); !s) return s;
    const std::string dbms = dbmsName();
    if (Status s = checkOneQuery(sql, dbms, "ODBC"); !s) return s;
    const ServerDialect* dialect = serverDialect(dbms);
    if (dialect)
      if (Status s = runOwn(dialect->readOnlySession, "cannot make the session read-only"); !s) return s;
    narrowText_ = dialect && sessionTextIsUtf8(*dialect);
    if (!succeeded(api_->SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER)))
      return failure("cannot start a transaction", SQL_HANDLE_DBC, dbc_);
    if (!succeeded(api_->SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_))) return failure("cannot make a statement", SQL_HANDLE_DBC, dbc_);
    // The drivers of the servers known here prepare a statement on the server without running
    // it, so one that returns no rows is refused before it runs.
    if (dialect)
      if (Status s = prepare(sql); !s) return s;
    const SQLRETURN rc = dialect ? api_->SQLExecute(stmt_) : executeDirect(sql);
    if (!succeeded(rc) && rc != SQL_NO_DATA) return failure("the query failed", SQL_HANDLE_STMT, stmt_);
    const auto count = resultColumns();
    if (!count) return count.error();
    if (Status s = describe(count.value()); !s) return s;
    if (Status s = bind(); !s) return s;
    return startReading(count.value());
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }

  Result<bool> readRow(RowTable& table) override {
    auto more = next();
    if (more && more.value()) table.copyRow(batches_[current_]->rows, row_, table.appendRow());
    return more;
  }

  // Rows read in place: the current row is one of the current batch's, read where it was fetched.
  Result<bool> next() override {
    for (;;) {
      Batch& batch = *batches_[current_];
      if (at_ < batch.good) {
        row_ = at_++;
        return true;
      }
      if (batch.error) {
        const Error error = *batch.error;
        batch.error.reset();
        batch.end = true;
        return error;
      }
      if (batch.end) return false;
      nextBatch();
    }
  }

  CellView cell(int column) const override { return batches_[current_]->rows.cell(row_, column); }

 private:
  Error failure(const std::string& what, SQLSMALLINT handleType, SQLHANDLE handle) const {
    return ado::dataSourceError("ODBC: " + what + ": " + diagnostics(*api_, handleType, handle));
  }

  Status connect(const std::string& connection) {
    if (!succeeded(api_->SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
      return ado::dataSourceError("ODBC: the driver manager cannot start");
    api_->SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!succeeded(api_->SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) return failure("cannot connect", SQL_HANDLE_ENV, env_);
    // A driver without read-only connections says so with a warning or an error: the read-only
    // session and the rolled-back transaction stand in for it.
    api_->SQLSetConnectAttr(dbc_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), SQL_IS_UINTEGER);
    auto wide = toWide(connection.find('=') == std::string::npos ? "DSN=" + connection : connection);
    if (Status s = takenWhole(connection, wide.size()); !s) return s;
    SQLSMALLINT outLength = 0;
    if (!succeeded(api_->SQLDriverConnectW(dbc_, nullptr, wide.data(), static_cast<SQLSMALLINT>(wide.size()), nullptr, 0,
                                           &outLength, SQL_DRIVER_NOPROMPT)))
      return failure("cannot connect", SQL_HANDLE_DBC, dbc_);
    connected_ = true;
    return Status::ok();
  }

  Status prepare(const std::string& sql) {
    auto wide = toWide(sql);
    if (!succeeded(api_->SQLPrepareW(stmt_, wide.data(), static_cast<SQLINTEGER>(wide.size()))))
      return failure("the query failed", SQL_HANDLE_STMT, stmt_);
    return resultColumns().status();
  }

  SQLRETURN executeDirect(const std::string& sql) {
    auto wide = toWide(sql);
    return api_->SQLExecDirectW(stmt_, wide.data(), static_cast<SQLINTEGER>(wide.size()));
  }

  // The columns of the statement's result; a statement without a result is no query.
  Result<SQLSMALLINT> resultColumns() {
    SQLSMALLINT count = 0;
    if (!succeeded(api_->SQLNumResultCols(stmt_, &count))) return failure("the query failed", SQL_HANDLE_STMT, stmt_);
    if (count == 0) return ado::dataSourceError("ODBC: the statement returns no rows");
    return count;
  }

  // Whether the driver hands out SQL_C_CHAR text in UTF-8 (see ServerDialect).
  bool sessionTextIsUtf8(const ServerDialect& dialect) {
    std::string characterSet;
    return !dialect.characterSetQuery.empty() &&
           runOwn(dialect.characterSetQuery, "cannot read the character set", &characterSet) &&
           characterSet.starts_with("utf8");
  }

  // Runs a statement of the session's own; `firstValue`, when given, receives the first value of
  // its result as text.
  Status runOwn(std::string_view sql, const std::string& what, std::string* firstValue = nullptr) {
    SQLHSTMT stmt = nullptr;
    if (!succeeded(api_->SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt))) return failure(what, SQL_HANDLE_DBC, dbc_);
    auto wide = toWide(sql);
    SQLWCHAR value[64] = {};
    SQLLEN length = 0;
    bool ran = succeeded(api_->SQLExecDirectW(stmt, wide.data(), static_cast<SQLINTEGER>(wide.size())));
    if (ran && firstValue)
      ran = succeeded(api_->SQLFetch(stmt)) && succeeded(api_->SQLGetData(stmt, 1, SQL_C_WCHAR, value, sizeof value, &length));
    Status status = ran ? Status::ok() : Status(failure(what, SQL_HANDLE_STMT, stmt));
    if (ran && firstValue && length > 0)
      appendUtf8(*firstValue, value, std::min<size_t>(static_cast<size_t>(length) / sizeof(SQLWCHAR), std::size(value) - 1));
    api_->SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return status;
  }

  std::string dbmsName() {
    SQLWCHAR name[128] = {};
    SQLSMALLINT length = 0;
    std::string dbms;
    if (succeeded(api_->SQLGetInfoW(dbc_, SQL_DBMS_NAME, name, sizeof name, &length)))
      appendUtf8(dbms, name, std::min<size_t>(length / sizeof(SQLWCHAR), std::size(name) - 1));
    return dbms;
  }

  Status describe(SQLSMALLINT count) {
    for (SQLUSMALLINT c = 1; c <= count; ++c) {
      SQLWCHAR name[512] = {};
      SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      if (!succeeded(api_->SQLDescribeColW(stmt_, c, name, std::size(name), &nameLength, &sqlType, &size, &digits, &nullable)))
        return failure("cannot describe column " + std::to_string(c), SQL_HANDLE_STMT, stmt_);
      SQLLEN isUnsigned = SQL_FALSE;
      api_->SQLColAttribute(stmt_, c, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
      Column column;
      column.type = odbcColumnType(sqlType, size, isUnsigned == SQL_TRUE);
      FieldInfo field = column.type.field;
      appendUtf8(field.name, name, std::min<size_t>(nameLength, std::size(name) - 1));
      if (field.name.empty()) field.name = "Column" + std::to_string(c);
      fields_.push_back(std::move(field));
      columns_.push_back(std::move(column));
    }
    return Status::ok();
  }

  // Binds the columns before the first one fetched in pieces (SQLGetData reads only columns after
  // the bound ones, in order); with such a column the block is a single row.
  Status bind() {
    SQLLEN rowBytes = 0;
    bool pieces = false;
    for (Column& column : columns_) {
      column.cType = cTypeOf(column.type.fetch, narrowText_);
      column.width = widthOf(column.type, column.cType);
      pieces = pieces || column.width == 0;
      column.bound = !pieces;
      rowBytes += column.bound ? column.width + static_cast<SQLLEN>(sizeof(SQLLEN)) : 0;
    }
    rows_ = pieces ? 1 : std::clamp<SQLULEN>(kBlockBytes / std::max<SQLLEN>(rowBytes, 1), 1, kMostRowsPerBlock);
    if (rows_ > 1 && !succeeded(api_->SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rows_), 0)))
      rows_ = 1;
    api_->SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
    api_->SQLSetStmtAttr(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    rowStatus_ = std::make_unique<SQLUSMALLINT[]>(rows_);
    api_->SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_STATUS_PTR, rowStatus_.get(), 0);
    for (size_t c = 0; c < columns_.size(); ++c) {
      Column& column = columns_[c];
      if (!column.bound) continue;
      column.data = std::make_unique<char[]>(static_cast<size_t>(column.width) * rows_);
      column.lengths = std::make_unique<SQLLEN[]>(rows_);
      if (!succeeded(api_->SQLBindCol(stmt_, static_cast<SQLUSMALLINT>(c + 1), column.cType, column.data.get(), column.width,
                                      column.lengths.get())))
        return failure("cannot bind column " + fields_[c].name, SQL_HANDLE_STMT, stmt_);
    }
    return Status::ok();
  }

  // Fills `batch` with the next rows: one block, or single rows (see kSingleRowsPerBatch). The
  // driver's buffers are read before the next fetch, so one set of them serves both batches.
  void fill(Batch& batch) {
    const Utf8Locale::InThread utf8(utf8_);
    batch.rows.clear();
    batch.good = 0;
    batch.end = false;
    batch.error.reset();
    piecesRead_ = 0;
    do {
      const SQLRETURN rc = api_->SQLFetch(stmt_);
      if (rc == SQL_NO_DATA) {
        batch.end = true;
        return;
      }
      if (!succeeded(rc)) return fail(batch, readFailure());
      const SQLULEN fetched = rows_ == 1 ? 1 : fetched_;
      for (SQLULEN r = 0; r < fetched; ++r) {
        if (rowStatus_[r] == SQL_ROW_ERROR) return fail(batch, readFailure());
        const int64_t row = batch.rows.appendRow();
        for (int c = 0; c < static_cast<int>(columns_.size()); ++c)
          if (Status s = putCell(batch.rows, row, c, r); !s) return fail(batch, s.error());
        batch.good = row + 1;
        ++rowsRead_;
      }
    } while (rows_ == 1 && batch.good < kSingleRowsPerBatch && piecesRead_ < kBlockBytes);
  }

  // Fills the first batch now, so that a query whose rows cannot be read fails to start, and the
  // next one ahead.
  Status startReading(int columns) {
    batches_[0] = std::make_unique<Batch>(columns);
    batches_[1] = std::make_unique<Batch>(columns);
    fill(*batches_[0]);
    if (batches_[0]->error && batches_[0]->good == 0) return *batches_[0]->error;
    startFillingAhead();
    return Status::ok();
  }

  static void fail(Batch& batch, Error error) {
    batch.error = std::move(error);
    batch.end = true;
  }

  // Makes the batch filled ahead current (or fills one now) and starts filling the next.
  void nextBatch() {
    at_ = 0;
    if (ahead_.valid()) {
      ahead_.get();
      current_ ^= 1;
    } else {
      fill(*batches_[current_]);
    }
    startFillingAhead();
  }

  // Fills the batch after the current one on a thread of its own while the current one is read;
  // without a thread to be had, each batch is filled when it is needed.
  void startFillingAhead() {
    Batch& current = *batches_[current_];
    if (current.end || !fillAhead_) return;
    try {
      ahead_ = std::async(std::launch::async, [this, &next = *batches_[current_ ^ 1]] { fill(next); });
    } catch (const std::system_error&) {
      fillAhead_ = false;
    }
  }

  Error readFailure() {
    return failure("reading row " + std::to_string(rowsRead_ + 1) + " failed", SQL_HANDLE_STMT, stmt_);
  }

  // Row `at` of the fetched block, column `c`.
  Status putCell(RowTable& table, int64_t row, int c, SQLULEN at) {
    Column& column = columns_[c];
    if (!column.bound) return putPieces(table, row, c);
    const SQLLEN length = column.lengths[at];
    if (length == SQL_NULL_DATA) {
      table.setNull(row, c);
      return Status::ok();
    }
    const char* value = column.data.get() + static_cast<size_t>(column.width) * at;
    switch (column.type.fetch) {
      case OdbcFetch::Text:
      case OdbcFetch::Digits:
        if (length == SQL_NO_TOTAL || length >= column.width) return truncated(c);
        putText(table, row, c, {value, static_cast<size_t>(length)});
        break;
      case OdbcFetch::Binary:
        if (length == SQL_NO_TOTAL || length > column.width) return truncated(c);
        table.setBytes(row, c, {value, static_cast<size_t>(length)});
        break;
      default:
        putFixed(table, row, c, value);
        break;
    }
    return Status::ok();
  }

  void putFixed(RowTable& table, int64_t row, int c, const char* at) {
    switch (columns_[c].type.fetch) {
      case OdbcFetch::WholeNumber: {
        const auto n = read<SQLBIGINT>(at);
        if (fields_[c].type == ado::adSmallInt && n >= INT16_MIN && n <= INT16_MAX)
          return table.setInteger(row, c, static_cast<int16_t>(n));
        if (fields_[c].type == ado::adBigInt) return table.setLongLong(row, c, n);
        return table.setWholeNumber(row, c, n);
      }
      case OdbcFetch::Single: return table.setDouble(row, c, widened(read<SQLREAL>(at)));
      case OdbcFetch::Double: return table.setDouble(row, c, read<SQLDOUBLE>(at));
      case OdbcFetch::Bit: return table.setBool(row, c, read<SQLCHAR>(at) != 0);
      case OdbcFetch::Date: {
        const auto d = read<SQL_DATE_STRUCT>(at);
        return table.setDate(row, c, dateFromCivil({d.year, d.month, d.day}));
      }
      case OdbcFetch::Time: {
        const auto t = read<SQL_TIME_STRUCT>(at);
        return table.setDate(row, c, Date{(t.hour * 3600 + t.minute * 60 + t.second) / 86400.0});
      }
      case OdbcFetch::Timestamp: {
        const auto ts = read<SQL_TIMESTAMP_STRUCT>(at);
        return table.setDate(row, c, dateFromCivil({ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second}));
      }
      case OdbcFetch::Guid: {
        // Lower case, as the text form of a UUID is written.
        const auto g = read<SQLGUID>(at);
        char text[37];
        std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", g.Data1, g.Data2, g.Data3,
                      g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
        return table.setText(row, c, text);
      }
      case OdbcFetch::Digits:
      case OdbcFetch::Text:
      case OdbcFetch::Binary: break;
    }
  }

  // A value fetched with SQLGetData: a fixed-size one at once, text and binary in pieces.
  Status putPieces(RowTable& table, int64_t row, int c) {
    Column& column = columns_[c];
    const auto n = static_cast<SQLUSMALLINT>(c + 1);
    const OdbcFetch fetch = column.type.fetch;
    if (fetch != OdbcFetch::Text && fetch != OdbcFetch::Digits && fetch != OdbcFetch::Binary) {
      alignas(8) char value[32];
      SQLLEN length = 0;
      if (!succeeded(api_->SQLGetData(stmt_, n, column.cType, value, sizeof value, &length))) return readFailure();
      if (length == SQL_NULL_DATA) table.setNull(row, c);
      else putFixed(table, row, c, value);
      return Status::ok();
    }
    if (!piece_) piece_ = std::make_unique<char[]>(kPieceBytes);
    bytes_.clear();
    const SQLLEN terminator = fetch == OdbcFetch::Binary ? 0 : column.cType == SQL_C_WCHAR ? sizeof(SQLWCHAR) : 1;
    for (;;) {
      SQLLEN length = 0;
      const SQLRETURN rc = api_->SQLGetData(stmt_, n, column.cType, piece_.get(), kPieceBytes, &length);
      if (rc == SQL_NO_DATA) break;
      if (!succeeded(rc)) return readFailure();
      if (length == SQL_NULL_DATA) {
        table.setNull(row, c);
        return Status::ok();
      }
      // A piece that did not hold the rest of the value is full (less the terminator of text).
      const bool full = length == SQL_NO_TOTAL || length > kPieceBytes - terminator;
      const SQLLEN got = full ? kPieceBytes - terminator : length;
      bytes_.append(piece_.get(), static_cast<size_t>(got));
      if (!full) break;
    }
    piecesRead_ += bytes_.size();
    if (fetch == OdbcFetch::Binary) {
      table.setBytes(row, c, bytes_);
      return Status::ok();
    }
    putText(table, row, c, bytes_);
    return Status::ok();
  }

  // Text as fetched: UTF-16 for SQL_C_WCHAR, else UTF-8 (or the ASCII of digits).
  void putText(RowTable& table, int64_t row, int c, std::string_view fetched) {
    if (columns_[c].cType != SQL_C_WCHAR) return putTyped(table, row, c, fields_[c].type, fetched);
    text_.clear();
    appendUtf8(text_, reinterpret_cast<const SQLWCHAR*>(fetched.data()), fetched.size() / sizeof(SQLWCHAR));
    putTyped(table, row, c, fields_[c].type, text_);
  }

  Error truncated(int c) {
    return ado::dataSourceError("ODBC: reading row " + std::to_string(rowsRead_ + 1) + " failed: a value of " + fields_[c].name +
                                " is longer than the driver said the column's values can be");
  }

  Utf8Locale utf8_;
  const Odbc* api_ = nullptr;
  SQLHENV env_ = nullptr;
  SQLHDBC dbc_ = nullptr;
  SQLHSTMT stmt_ = nullptr;
  bool connected_ = false;
  bool narrowText_ = false;
  std::vector<FieldInfo> fields_;
  std::vector<Column> columns_;
  SQLULEN rows_ = 1, fetched_ = 0;  // rows per block; rows the last fetch gave
  std::unique_ptr<SQLUSMALLINT[]> rowStatus_;
  int64_t rowsRead_ = 0;  // converted
  std::unique_ptr<char[]> piece_;
  std::string bytes_, text_;
  size_t piecesRead_ = 0;  // bytes of long values in the batch being filled
  // Two batches of converted rows: rows are read out of the current one while the other is
  // filled ahead.
  std::unique_ptr<Batch> batches_[2];
  int current_ = 0;
  int64_t at_ = 0;   // the next row to read of the current batch
  int64_t row_ = 0;  // the row last read of the current batch
  bool fillAhead_ = true;
  std::future<void> ahead_;  // the batch being filled ahead, when one is
};

class OdbcQuery : public RowSource {
 public:
  OdbcQuery(std::string connection, std::string sql) : connection_(std::move(connection)), sql_(std::move(sql)) {}

  Result<std::unique_ptr<RowStream>> run() const override { return startStream<OdbcStream>(connection_, sql_, true); }
  // Counted while read, the rows are read on a thread of their own already: a second thread filling
  // batches ahead would only take turns with the pages on the processors.
  Result<std::unique_ptr<CountedRowStream>> runCountedWhileRead() const override {
    auto rows = startStream<OdbcStream>(connection_, sql_, false);
    if (!rows) return rows.error();
    return spoolRowsBehind(std::move(rows).value());
  }
  std::string description() const override { return "odbc:" + connection_; }

 private:
  std::string connection_, sql_;
};

}  // namespace

std::shared_ptr<RowSource> odbcQuery(std::string connection, std::string sql) {
  return std::make_shared<OdbcQuery>(std::move(connection), std::move(sql));
}

}  // namespace quelo
