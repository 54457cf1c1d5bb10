// Through the ODBC driver manager with real drivers: MariaDB and PostgreSQL servers (the ones the
// test run started as CTest fixtures, whose folders are in QUELO_TEST_MARIADB_DIR and
// QUELO_TEST_POSTGRES_DIR, or else ones each suite starts and stops itself) and SQLite files.
// Drivers are named by their library's path, so nothing is registered on the machine.
#include "data/sources/odbc_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

#include "apps/report_cli_fixture.h"
#include "fakes/records.h"
#include "fakes/sqlite_file.h"
#include "fakes/test_server.h"
#include "automation/date_time.h"
#include "data/recordset/recordset.h"
#include "data/sources/postgres_source.h"
#include "data/sources/sqlite_source.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using namespace ado;
using testing::ProcessResult;
using testing::runProcess;

using testing::odbcDriver;
using testing::TestServer;

Result<std::shared_ptr<Recordset>> open(std::shared_ptr<RowSource> source, int32_t cursor = adOpenStatic) {
  return Recordset::open(std::move(source), cursor);
}

// A cell as text that tells kind and value apart.
std::string shown(const CellView& c) {
  return std::to_string(static_cast<int>(c.kind)) + ":" + std::to_string(c.integer) + ":" + std::to_string(c.real) + ":" +
         std::string(c.text);
}

// The same query through the native source and through ODBC: every field's name, type (but for the
// `retyped` fields, whose driver reports another SQL type), size and attributes, every value, and
// the count ahead.
void expectSameRecords(std::shared_ptr<RowSource> native, std::shared_ptr<RowSource> odbc, const std::set<std::string>& retyped) {
  EXPECT_EQ(odbc->runCounted().value()->count(), 3);
  auto byNative = open(native), byOdbc = open(odbc);
  ASSERT_TRUE(byNative.isOk()) << byNative.error().message;
  ASSERT_TRUE(byOdbc.isOk()) << byOdbc.error().message;
  Recordset &expected = *byNative.value(), &actual = *byOdbc.value();
  ASSERT_EQ(actual.fields().count(), expected.fields().count());
  for (int f = 0; f < expected.fields().count(); ++f) {
    const FieldInfo &e = expected.fields()[f], &a = actual.fields()[f];
    EXPECT_EQ(a.name, e.name);
    if (retyped.contains(e.name)) continue;
    EXPECT_EQ(a.type, e.type) << e.name;
    EXPECT_EQ(a.definedSize, e.definedSize) << e.name;
    EXPECT_EQ(a.attributes, e.attributes) << e.name;
  }
  ASSERT_EQ(actual.recordCount().value(), expected.recordCount().value());
  for ((void)expected.moveFirst(), (void)actual.moveFirst(); !expected.eof(); (void)expected.moveNext(), (void)actual.moveNext())
    for (int f = 0; f < expected.fields().count(); ++f)
      EXPECT_EQ(shown(actual.cell(f).value()), shown(expected.cell(f).value())) << expected.fields()[f].name;
}

class PostgresOdbc : public testing::ReportCli {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<TestServer>("QUELO_TEST_POSTGRES_DIR", "postgres_server.sh", "connection");
    if (!server_->kept.empty()) connection_ = server_->kept[0];
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_FALSE(connection_.empty()) << "no PostgreSQL server could be started"; }

  // libpq's "host=H port=P user=U dbname=D" as the PostgreSQL driver's keywords.
  static std::string odbcConnection() {
    std::istringstream words(connection_);
    std::string out = "DRIVER=" + odbcDriver("psqlodbcw.so") + ";BoolsAsChar=0;", word;
    const std::map<std::string, std::string> keys = {{"host", "Servername"}, {"port", "Port"}, {"user", "Username"}, {"dbname", "Database"}};
    while (words >> word) out += keys.at(word.substr(0, word.find('='))) + word.substr(word.find('=')) + ";";
    return out;
  }
  static inline std::unique_ptr<TestServer> server_;
  static inline std::string connection_;
};

TEST_F(PostgresOdbc, EveryTypeReadsAsThroughLibpq) {
  const std::string table = "kinds_" + std::to_string(getpid());
  const std::string setup =
      "CREATE TABLE " + table +
      " (s int2, i int4, b int8, f4 float4, f8 float8, n numeric(8,2), wide numeric, t bool, d date, tm time,"
      " ts timestamp, v varchar(10), c char(3), tx text, by bytea, u uuid, iv interval);"
      "INSERT INTO " + table + " VALUES (1, 2, 5000000000, 1.1, 2.25, 12.50, 12345678901234567890.5, true,"
      " '2024-02-29', '13:30:00', '2024-02-29 13:05:09', 'Жанна 🙂', 'x', repeat('long ', 20000), '\\x00ff41',"
      " 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '1 day 2 hours'), (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
      " NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), (-3, -4, -5, -0.5, 1e300, -0.01, 0, false,"
      " '1900-01-01', '00:00:01', '1999-12-31 23:59:59', '日本語', 'abc', '', '\\x',"
      " '00000000-0000-0000-0000-000000000000', '-5 minutes');";
  ASSERT_EQ(runProcess({"psql", "-q", connection_, "-c", setup}).exitCode, 0);
  const std::string query = "SELECT *, 'Ж ' || v AS x FROM " + table + " ORDER BY s NULLS LAST";
  // The driver reports interval as VARCHAR(32).
  expectSameRecords(postgresQuery(connection_, query), odbcQuery(odbcConnection(), query), {"iv"});
  expectSamePages({{"--postgres", connection_, "--query", query}, {"--odbc", odbcConnection(), "--query", query}}, 2);
}

// A writing statement that reads like a query fails with the server's message: the session is
// read-only. A batch, or a statement that returns no rows, is refused before the server runs it.
// Each exits 2 and leaves every row in place.
TEST_F(PostgresOdbc, WritingStatementsFailAndChangeNothing) {
  const std::string table = "kept_odbc_" + std::to_string(getpid());
  ASSERT_EQ(runProcess({"psql", "-q", connection_, "-c", "CREATE TABLE " + table + " AS SELECT 1 AS n"}).exitCode, 0);
  struct Case {
    std::string query, words;
  } const cases[] = {
      {"WITH d AS (DELETE FROM " + table + " RETURNING n) SELECT * FROM d", "read-only transaction"},
      {"SELECT n INTO TEMP copied FROM " + table, "ODBC: the statement returns no rows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    ProcessResult r = report({"--odbc", odbcConnection(), "--query", c.query, "--app-path", dir / "app"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
  }
  EXPECT_EQ(open(postgresQuery(connection_, "SELECT count(*) FROM " + table)).value()->value(0).value(),
            Variant(int64_t{1}));
}

using SqliteOdbc = testing::ReportCli;

TEST_F(SqliteOdbc, EveryTypeReadsAsThroughSqlite) {
  const std::string db = dir / "kinds.db";
  const std::string setup =
      "CREATE TABLE kinds (i INTEGER, b BIGINT, r REAL, n NUMERIC(8,2), t BOOLEAN, d DATETIME, v VARCHAR(10),"
      " tx TEXT, bl BLOB);"
      "INSERT INTO kinds VALUES (1, 5000000000, 2.25, 12.5, 1, '2024-02-29 13:05:09', 'Жанна 🙂',"
      " printf('%.*c', 100000, 'x'), x'00ff41'), (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
      " (-3, -5, -0.5, -0.01, 0, '1900-01-01 00:00:00', '日本語', '', x'');";
  testing::sqlExec(db, setup);
  // A driver without wide functions gets the query through the driver manager's conversion.
  const std::string query = "SELECT *, 'Ж ' || v AS x FROM kinds ORDER BY i IS NULL, i DESC";
  const std::string connection = "DRIVER=" + odbcDriver("libsqlite3odbc.so") + ";Database=" + db;
  PosixFileSystem files;
  expectSameRecords(sqliteQuery(files, db, query), odbcQuery(connection, query), {"n"});  // NUMERIC as SQL_DOUBLE
  expectSamePages({{"--sqlite", db, "--query", query}, {"--odbc", connection, "--query", query}}, 2);
}

class MariadbOdbc : public testing::ReportCli {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<TestServer>("QUELO_TEST_MARIADB_DIR", "mariadb_server.sh", "connection");
    if (!server_->kept.empty()) connection_ = "DRIVER=" + odbcDriver("libmaodbc.so") + ";" + server_->kept[0];
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_FALSE(connection_.empty()) << "no MariaDB server could be started"; }

  static std::string socket() {
    const std::string& c = connection_;
    const size_t at = c.find("SOCKET=") + 7;
    return c.substr(at, c.find(';', at) - at);
  }
  static ProcessResult sql(const std::string& statements) {
    return runProcess({"mariadb", "--no-defaults", "--default-character-set=utf8mb4", "--socket=" + socket(), "-u", "quelo",
                       "quelo", "-e", statements});
  }
  std::shared_ptr<Recordset> rows(const std::string& query, int32_t cursor = adOpenStatic) {
    return testing::opened(open(odbcQuery(connection_, query), cursor));
  }
  static inline std::unique_ptr<TestServer> server_;
  static inline std::string connection_;
};

TEST_F(MariadbOdbc, TypesMapAndValuesRoundTrip) {
  ASSERT_EQ(sql("CREATE TABLE kinds (ti TINYINT, si SMALLINT, su SMALLINT UNSIGNED, i INT, iu INT UNSIGNED, b BIGINT,"
                " bu BIGINT UNSIGNED, f FLOAT, d DOUBLE, n DECIMAL(10,2), w DECIMAL(30,5), bt BIT(1), dt DATE,"
                " tm TIME, ts DATETIME, c CHAR(3), v VARCHAR(10), tx MEDIUMTEXT, vb VARBINARY(8), bl BLOB,"
                " u UUID);"
                "INSERT INTO kinds VALUES (1, -2, 65535, 3, 4000000000, 5000000000, 18446744073709551615, 1.1, 2.25,"
                " 12.50, 1234567890123456789012345.5, 1, '2024-02-29', '13:30:00', '2024-02-29 13:05:09', 'x',"
                " 'Жанна 日本 🙂', REPEAT('long ', 20000), X'00FF41', X'0001', 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'),"
                " (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
                " NULL, NULL, NULL, NULL, NULL);")
                .exitCode,
            0);
  auto rs = rows("SELECT * FROM kinds ORDER BY ti IS NULL");
  testing::expectFields(*rs, {
      {"ti", adSmallInt, 2, 118, Variant(int16_t{1})},
      {"si", adSmallInt, 2, 118, Variant(int16_t{-2})},
      {"su", adInteger, 4, 118, Variant(int32_t{65535})},
      {"i", adInteger, 4, 118, Variant(int32_t{3})},
      {"iu", adBigInt, 8, 118, Variant(int64_t{4000000000})},
      {"b", adBigInt, 8, 118, Variant(int64_t{5000000000})},
      {"bu", adNumeric, 19, 118, Variant("18446744073709551615")},
      {"f", adSingle, 4, 118, Variant(1.1)},
      {"d", adDouble, 8, 118, Variant(2.25)},
      {"n", adNumeric, 19, 118, Variant(12.5)},
      {"w", adNumeric, 19, 118, Variant("1234567890123456789012345.50000")},
      {"bt", adBoolean, 2, 102, Variant(true)},
      {"dt", adDBDate, 6, 122, Variant(dateFromCivil({2024, 2, 29}))},
      {"tm", adDBTime, 6, 122, Variant(Date{13.5 / 24})},
      {"ts", adDBTimeStamp, 16, 122, Variant(dateFromCivil({2024, 2, 29, 13, 5, 9}))},
      {"c", adChar, 3, 102, Variant("x")},
      {"v", adVarWChar, 10, 102, Variant("Жанна 日本 🙂")},
      {"tx", adLongVarWChar, 536870910, 230, Variant()},
      {"vb", adLongVarBinary, 2147483647, 102, Variant()},
      {"bl", adLongVarBinary, 2147483647, 102, Variant()},
      {"u", adChar, 36, 102, Variant("a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11")},  // the server says CHAR(36)
  });
  std::string longText;
  for (int i = 0; i < 20000; ++i) longText += "long ";
  EXPECT_EQ(rs->value("tx").value(), Variant(longText));
  EXPECT_EQ(rs->cell(18).value().text, std::string_view("\x00\xff\x41", 3));
  EXPECT_EQ(rs->cell(19).value().text, std::string_view("\x00\x01", 2));
  ASSERT_TRUE(rs->moveNext().isOk());
  for (int f = 0; f < rs->fields().count(); ++f) EXPECT_TRUE(rs->value(f).value().isNull()) << rs->fields()[f].name;
}

// Rows come in blocks, or a row at a time where a long column's values come in pieces.
TEST_F(MariadbOdbc, LargeResultsStreamInBlocks) {
  for (const char* text : {"CONCAT('row ', seq)", "CAST(CONCAT('row ', seq) AS CHAR(100000))"}) {
    SCOPED_TRACE(text);
    auto rs = rows("SELECT CAST(seq AS SIGNED) AS n, " + std::string(text) + " AS t FROM seq_1_to_100000", adOpenForwardOnly);
    EXPECT_EQ(testing::countAndSum(*rs, [](int64_t n) { return "row " + std::to_string(n); }),
              std::make_pair(int64_t{100000}, int64_t{100000} * 100001 / 2));
  }
}

// A query is counted ahead, whatever it is, and then gives as many rows.
TEST_F(MariadbOdbc, QueriesAreCountedAheadWhereTheyCanBe) {
  ASSERT_EQ(sql("CREATE TABLE counted (n INT); INSERT INTO counted VALUES (1), (2), (3);").exitCode, 0);
  struct Case {
    const char* query;
    int64_t count;
  } const cases[] = {
      {"SELECT n FROM counted", 3},
      {"SELECT n FROM counted ; ", 3},
      {"SELECT n FROM counted -- every row", 3},
      {"SHOW TABLES", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    auto stream = odbcQuery(connection_, c.query)->runCounted();
    ASSERT_TRUE(stream.isOk()) << stream.error().message;
    RowTable table(static_cast<int>(stream.value()->fields().size()));
    while (stream.value()->readRow(table).value()) {
    }
    EXPECT_EQ(table.rows(), stream.value()->count());
    if (c.count > 0) {
      EXPECT_EQ(table.rows(), c.count);
    }
  }
}

// Each failure is one line on stderr that carries the driver's words, and exit status 2; a
// writing statement changes nothing.
TEST_F(MariadbOdbc, FailuresExitTwoWithTheDriversMessage) {
  ASSERT_EQ(sql("CREATE TABLE kept (n INT); INSERT INTO kept VALUES (1);").exitCode, 0);
  std::string badSocket = connection_;
  badSocket.replace(badSocket.find("SOCKET=") + 7, socket().size(), dir / "none.sock");
  struct Case {
    std::string connection, query, words;
  } const cases[] = {
      {"DRIVER=" + dir / "missing.so", "SELECT 1", "ODBC: cannot connect: [unixODBC][Driver Manager]Can't open lib"},
      {"NoSuchDataSource", "SELECT 1", "Data source name not found"},
      {connection_ + ";UID=" + std::string(40000, 'x'), "SELECT 1", "long; a driver takes at most 32767"},
      {badSocket, "SELECT 1", "Can't connect to local server through socket"},
      {connection_, "SELECT * FROM nowhere", "ODBC: the query failed: "},
      {connection_, "CREATE TABLE other AS SELECT 1", "CREATE is not a query"},
      {connection_ + ";OPTION=67108864", "SELECT 1; COMMIT; BEGIN READ WRITE; DELETE FROM kept; COMMIT",
       "ODBC: the query goes on after its ';'"},
      {connection_, "SELECT n INTO @x FROM kept", "ODBC: the statement returns no rows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    ProcessResult r = report({"--odbc", c.connection, "--query", c.query, "--app-path", dir / "app"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(testing::linesOf(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
  }
  EXPECT_EQ(rows("SELECT COUNT(*) FROM kept")->value(0).value(), Variant(int64_t{1}));
  EXPECT_FALSE(exists(dir / "app/Reports"));
}

TEST_F(MariadbOdbc, AServerThatStopsMidQueryIsAnError) {
  TestServer own(nullptr, "mariadb_server.sh", "connection");
  ASSERT_FALSE(own.kept.empty());
  std::thread stopper([&own] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    own.stop();
  });
  ProcessResult r = report({"--odbc", "DRIVER=" + odbcDriver("libmaodbc.so") + ";" + own.kept[0], "--query",
                            "SELECT SLEEP(20) AS s", "--app-path", dir / "app"});
  stopper.join();
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("ODBC: the query failed: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Lost connection to server during query"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace quelo
