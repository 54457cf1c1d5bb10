// Streams the rows of a PostgreSQL query into record-set rows, one row per network result.
#include "data/sources/postgres_source.h"

#include <memory>

#include "data/sources/libpq/libpq_library.h"
#include "data/sources/libpq/postgres_types.h"
#include "data/sources/typed_text.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

// libpq's messages on one line: no trailing newline, no tab-indented hints on lines of their own.
std::string oneLine(const char* message) {
  std::string out;
  bool blank = false;
  for (const char* p = message ? message : ""; *p; ++p) {
    const bool space = *p == '\n' || *p == '\r' || *p == '\t' || *p == ' ';
    if (space && !out.empty()) blank = true;
    if (space) continue;
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(*p);
  }
  return out;
}

Error serverError(const LibPq& pq, const PGresult* result) {
  const char* primary = pq.PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
  return ado::dataSourceError("PostgreSQL: " + oneLine(primary ? primary : pq.PQresultErrorMessage(result)));
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// bytea in hex output format ("\x4142"); false for anything else.
bool decodeHex(std::string_view text, std::string& out) {
  if (text.size() < 2 || text[0] != '\\' || text[1] != 'x' || text.size() % 2 != 0) return false;
  out.clear();
  for (size_t i = 2; i < text.size(); i += 2) {
    const int hi = hexValue(text[i]), lo = hexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

using PgResult = std::unique_ptr<PGresult, decltype(LibPq::PQclear)>;

// A run of the query.
class PostgresStream : public RowStream {
 public:
  ~PostgresStream() override {
    if (pq_) pq_->PQfinish(conn_);
  }

  Status start(const std::string& connection, const std::string& sql) {
    auto library = libPq();
    if (!library) return library.error();
    pq_ = library.value();
    conn_ = pq_->PQconnectdb(connection.c_str());
    if (!conn_ || pq_->PQstatus(conn_) != CONNECTION_OK)
      return ado::dataSourceError("PostgreSQL: cannot connect: " + oneLine(conn_ ? pq_->PQerrorMessage(conn_) : "out of memory"));
    if (pq_->PQsetClientEncoding(conn_, "UTF8") != 0) return connectionError();
    // A report only reads: the session's transactions are read-only, so a writing statement
    // fails with the server's message and changes nothing.
    for (const char* setting : {"SET DateStyle TO ISO, YMD", "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"}) {
      PgResult set(pq_->PQexec(conn_, setting), pq_->PQclear);
      if (pq_->PQresultStatus(set.get()) != PGRES_COMMAND_OK) return serverError(*pq_, set.get());
    }
    // The extended protocol runs exactly one statement.
    if (!pq_->PQsendQueryParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)) return connectionError();
    if (!pq_->PQsetSingleRowMode(conn_)) return connectionError();
    auto first = nextResult();
    if (!first) return first.error();
    describe(first.value().get());
    if (pq_->PQresultStatus(first.value().get()) == PGRES_SINGLE_TUPLE) row_ = std::move(first).value();
    return Status::ok();
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }

  Result<bool> readRow(RowTable& table) override {
    if (!row_) {
      if (finished_) return false;
      auto next = nextResult();
      if (!next) return next.error();
      if (pq_->PQresultStatus(next.value().get()) != PGRES_SINGLE_TUPLE) return false;
      row_ = std::move(next).value();
    }
    const int64_t r = table.appendRow();
    for (int c = 0; c < static_cast<int>(fields_.size()); ++c) putCell(table, r, c);
    row_.reset();
    return true;
  }

 private:
  Error connectionError() const { return ado::dataSourceError("PostgreSQL: " + oneLine(pq_->PQerrorMessage(conn_))); }

  // The next result: a row (PGRES_SINGLE_TUPLE) or the end of the rows (PGRES_TUPLES_OK, which
  // still describes the columns). A statement without rows and the server's errors are Errors.
  // After the end the connection is drained, so nothing is left half read.
  Result<PgResult> nextResult() {
    PgResult result(pq_->PQgetResult(conn_), pq_->PQclear);
    const ExecStatusType status = pq_->PQresultStatus(result.get());
    if (status == PGRES_SINGLE_TUPLE) return result;
    finished_ = true;
    while (PGresult* rest = pq_->PQgetResult(conn_)) pq_->PQclear(rest);
    if (status == PGRES_TUPLES_OK) return result;
    if (status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY)
      return ado::dataSourceError("PostgreSQL: the statement returns no rows");
    return result ? serverError(*pq_, result.get()) : connectionError();
  }

  void describe(const PGresult* result) {
    for (int c = 0; c < pq_->PQnfields(result); ++c) {
      FieldInfo f = postgresColumnType(pq_->PQftype(result, c), pq_->PQfmod(result, c));
      f.name = pq_->PQfname(result, c);
      if (f.name.empty()) f.name = "Column" + std::to_string(c + 1);
      fields_.push_back(std::move(f));
    }
  }

  void putCell(RowTable& table, int64_t row, int column) {
    const PGresult* r = row_.get();
    if (pq_->PQgetisnull(r, 0, column)) return table.setNull(row, column);
    const std::string_view text(pq_->PQgetvalue(r, 0, column), static_cast<size_t>(pq_->PQgetlength(r, 0, column)));
    switch (pq_->PQftype(r, column)) {
      case pg::kBool:
        return table.setBool(row, column, text == "t");
      case pg::kBytea:
        if (decodeHex(text, bytes_)) return table.setBytes(row, column, bytes_);
        return table.setText(row, column, text);
      default:
        return putTyped(table, row, column, fields_[column].type, text);
    }
  }

  const LibPq* pq_ = nullptr;
  PGconn* conn_ = nullptr;
  PgResult row_{nullptr, nullptr};
  bool finished_ = false;
  std::vector<FieldInfo> fields_;
  std::string bytes_;
};

class PostgresQuery : public RowSource {
 public:
  PostgresQuery(std::string connection, std::string sql) : connection_(std::move(connection)), sql_(std::move(sql)) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    return startStream<PostgresStream>(connection_, sql_);
  }
  std::string description() const override { return "postgres:" + connection_; }

 private:
  std::string connection_, sql_;
};

}  // namespace

std::shared_ptr<RowSource> postgresQuery(std::string connectionString, std::string sql) {
  return std::make_shared<PostgresQuery>(std::move(connectionString), std::move(sql));
}

}  // namespace quelo
