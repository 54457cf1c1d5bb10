// Against a real PostgreSQL server: the one the test run started (CTest fixture), or else one this
// suite starts and stops itself.
#include "data/sources/postgres_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <memory>

#include "automation/date_time.h"
#include "data/recordset/recordset.h"
#include "fakes/records.h"
#include "fakes/run_process.h"
#include "fakes/test_server.h"

namespace quelo {
namespace {

using namespace ado;
using testing::Records;

class PostgresSource : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<testing::TestServer>("QUELO_TEST_POSTGRES_DIR", "postgres_server.sh", "connection");
    if (!server_->kept.empty()) connection_ = server_->kept[0];
  }
  static void TearDownTestSuite() { server_.reset(); }
  // No server is a failure, never a skip: the test command installs and starts it.
  void SetUp() override { ASSERT_FALSE(connection_.empty()) << "no PostgreSQL server could be started"; }

  Result<std::shared_ptr<Recordset>> query(const std::string& sql, int32_t cursor = adOpenStatic) {
    return Recordset::open(postgresQuery(connection_, sql), cursor);
  }
  std::shared_ptr<Recordset> rows(const std::string& sql) { return testing::opened(query(sql)); }

  static inline std::unique_ptr<testing::TestServer> server_;
  static inline std::string connection_;
};

TEST_F(PostgresSource, TypesMapAndValuesRoundTrip) {
  auto rs = rows(
      "SELECT 1::int2 AS s, 2::int4 AS i, 5000000000::int8 AS b, 1.5::float4 AS f4, 2.25::float8 AS f8,"
      " 12.50::numeric AS n, 12345678901234567890.5::numeric AS wide, true AS t, DATE '2024-02-29' AS d,"
      " TIME '13:30:00' AS tm, TIMESTAMP '2024-02-29 13:05:09.25' AS ts,"
      " TIMESTAMPTZ '2024-02-29 13:05:09+00' AS tz, 'ab'::varchar(10) AS v, 'x'::char(3) AS c,"
      " 'long'::text AS tx, 'nolen'::varchar AS vx, '\\x00ff41'::bytea AS by,"
      " 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid AS u, '{\"a\": 1}'::json AS j, 'NaN'::float8 AS nan");
  testing::expectFields(*rs, {  // an Empty value is checked below
      {"s", adSmallInt, -1, 118, Variant(int16_t{1})}, {"i", adInteger, -1, 118, Variant(int32_t{2})},
      {"b", adBigInt, -1, 118, Variant(int64_t{5000000000})}, {"f4", adSingle, -1, 118, Variant(1.5)},
      {"f8", adDouble, -1, 118, Variant(2.25)}, {"n", adNumeric, -1, 118, Variant(12.5)},
      {"wide", adNumeric, -1, 118, Variant("12345678901234567890.5")},  // exact, as text
      {"t", adBoolean, -1, 102, Variant(true)}, {"d", adDBDate, -1, 122, Variant(dateFromCivil({2024, 2, 29}))},
      {"tm", adDBTime, -1, 122, Variant(Date{13.5 / 24})},
      {"ts", adDBTimeStamp, -1, 122, Variant(dateFromCivil({2024, 2, 29, 13, 5, 9}))},
      {"tz", adDBTimeStamp, -1, 122, Variant()}, {"v", adVarWChar, 10, 102, Variant("ab")},
      {"c", adChar, 3, 102, Variant("x  ")}, {"tx", adLongVarWChar, -1, 230, Variant("long")},
      {"vx", adLongVarWChar, -1, 230, Variant("nolen")}, {"by", adLongVarBinary, -1, 102, Variant()},
      {"u", adGUID, -1, 102, Variant("a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11")},
      {"j", adLongVarWChar, -1, 230, Variant("{\"a\": 1}")}, {"nan", adDouble, -1, 118, Variant()}});
  EXPECT_TRUE(rs->value("tz").value().type() == VarType::Date);
  EXPECT_EQ(rs->cell(16).value().text, std::string_view("\x00\xff\x41", 3));
  EXPECT_TRUE(std::isnan(rs->value("nan").value().asDouble()));
  // Nulls and awkward text.
  EXPECT_EQ(testing::recordsOf(*rows("SELECT * FROM (VALUES (1, E'Smith, \"Jr\"\\r\\nsecond line', 'Жанна 日本 🙂'),"
                                     " (2, NULL, ''), (NULL, E'tab\\there', 'it''s')) AS v(id, note, name)"
                                     " ORDER BY id NULLS LAST")),
            (Records{{Variant(int32_t{1}), Variant("Smith, \"Jr\"\r\nsecond line"), Variant("Жанна 日本 🙂")},
                     {Variant(int32_t{2}), Variant::null(), Variant("")},
                     {Variant::null(), Variant("tab\there"), Variant("it's")}}));
}

// The server's own words, on one line; the session is read-only, so whatever a statement tries,
// the table keeps its rows.
TEST_F(PostgresSource, FailuresAreTheServersMessagesAndChangeNothing) {
  const std::string table = "kept_native_" + std::to_string(getpid());
  ASSERT_EQ(testing::runProcess({"psql", "-q", connection_, "-c", "CREATE TABLE " + table + " AS SELECT 1 AS n"}).exitCode, 0);
  const std::string readOnly = " in a read-only transaction";
  const std::pair<std::string, std::string> cases[] = {
      {"SELECT * FROM nowhere", "PostgreSQL: relation \"nowhere\" does not exist"},
      {"SELEKT 1", "PostgreSQL: syntax error at or near \"SELEKT\""},
      {"SELECT 1; SELECT 2", "PostgreSQL: cannot insert multiple commands into a prepared statement"},
      {"SET search_path TO public", "PostgreSQL: the statement returns no rows"},
      {"DELETE FROM " + table + " RETURNING n", "PostgreSQL: cannot execute DELETE" + readOnly},
      {"WITH d AS (DELETE FROM " + table + " RETURNING n) SELECT * FROM d", "PostgreSQL: cannot execute SELECT" + readOnly},
      {"INSERT INTO " + table + " VALUES (2) RETURNING n", "PostgreSQL: cannot execute INSERT" + readOnly},
      {"CREATE TABLE other_" + table + " AS SELECT 1", "PostgreSQL: cannot execute CREATE TABLE AS" + readOnly},
  };
  for (const auto& [sql, message] : cases) EXPECT_EQ(query(sql).error().message, message) << sql;
  EXPECT_EQ(rows("SELECT count(*) AS c FROM " + table)->value(0).value(), Variant(int64_t{1}));
  auto noServer = Recordset::open(postgresQuery("host=/nonexistent/folder port=5432 user=quelo dbname=postgres", "SELECT 1"));
  ASSERT_FALSE(noServer.isOk());
  EXPECT_EQ(noServer.error().message.rfind("PostgreSQL: cannot connect: ", 0), 0u) << noServer.error().message;
  EXPECT_EQ(noServer.error().message.find('\n'), std::string::npos);
}

// A counted run counts what it then reads; a statement that cannot be counted is read as it is,
// and a faulty one fails with the server's own message.
TEST_F(PostgresSource, CountedRunsCountTheirRows) {
  for (const auto& [sql, count] : {std::pair{"SELECT g FROM generate_series(1, 7) AS g ;", 7}, {"SHOW DateStyle", 1}}) {
    SCOPED_TRACE(sql);
    auto run = postgresQuery(connection_, sql)->runCounted();
    ASSERT_TRUE(run.isOk()) << run.error().message;
    EXPECT_EQ(run.value()->count(), count);
    RowTable table(1);
    while (run.value()->readRow(table).valueOr(false)) {
    }
    EXPECT_EQ(table.rows(), count);
  }
  auto faulty = postgresQuery(connection_, "SELECT 1; SELECT 2")->runCounted();
  ASSERT_FALSE(faulty.isOk());
  EXPECT_EQ(faulty.error().message, "PostgreSQL: cannot insert multiple commands into a prepared statement");
}

TEST_F(PostgresSource, AFailureAfterSomeRowsIsNeverAShortRecordSet) {
  const std::string sql = "SELECT 10 / (3 - g) AS q FROM generate_series(1, 5) AS g";
  EXPECT_EQ(query(sql).error().message, "PostgreSQL: division by zero");
  auto streamed = query(sql, adOpenForwardOnly);
  ASSERT_TRUE(streamed.isOk()) << streamed.error().message;
  auto rs = streamed.value();
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{5}));
  ASSERT_TRUE(rs->moveNext().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{10}));
  EXPECT_EQ(rs->moveNext().error().message, "PostgreSQL: division by zero");
  EXPECT_TRUE(rs->eof());
}

TEST_F(PostgresSource, LargeResultsStreamAndRequeryRunsAgain) {
  auto rs = query("SELECT g AS n, repeat('x', 50) || g AS t FROM generate_series(1, 200000) AS g", adOpenForwardOnly).value();
  EXPECT_EQ(testing::countAndSum(*rs), std::make_pair(int64_t{200000}, int64_t{200000} * 200001 / 2));
  auto empty = query("SELECT 1 AS one WHERE false", adOpenForwardOnly).value();
  EXPECT_TRUE(empty->eof());
  EXPECT_EQ(empty->fields()[0].name, "one");
  auto pid = rows("SELECT pg_backend_pid() AS pid");
  EXPECT_TRUE(pid->hasActiveConnection());
  const Variant first = pid->value(0).value();
  ASSERT_TRUE(pid->requery().isOk());
  EXPECT_NE(pid->value(0).value(), first);  // a new connection, a new server process
}

}  // namespace
}  // namespace quelo
