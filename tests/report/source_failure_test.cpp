// A report is all or nothing against its source: a source failing at any row leaves every page,
// new or earlier, as it was, whatever the source. An SQL query runs once, so a query whose rows
// differ from one run to the next still gives one consistent report.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "fakes/report_fixture.h"
#include "fakes/sqlite_file.h"
#include "report/report_failure.h"

namespace quelo::testing {
namespace {

using varnikquelo::ReportSource;

// An SQLite file of kRecords products in the scratch folder; record `failAt` of failingAt's query
// holds "not json" where JSON is read.
std::string products(const ScratchDir& app) {
  sqlExec(app / "shop.db",
          "CREATE TABLE IF NOT EXISTS products (id INTEGER PRIMARY KEY, name TEXT, qty INTEGER);"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)"
          " INSERT OR IGNORE INTO products SELECT i, 'Item ' || i, i % 7 FROM n");
  return app / "shop.db";
}
std::string failingAt(int failAt) {
  return "SELECT id, name, json_extract(CASE WHEN id = " + std::to_string(failAt) +
         " THEN 'not json' ELSE '{}' END, '$') AS extra FROM products ORDER BY id";
}

TEST_F(ReportFailure, ASourceFailingAtAnyRowChangesNoPage) {
  const std::string db = products(app);
  expectAllOrNothing([&](int failAt) { return ReportSource::sqlite(db, failingAt(failAt)); },
                     "reading row");
  expectAllOrNothing(
      [&](int failAt) {
        std::string csv = "Name,Qty\n";
        for (int i = 1; i <= kRecords; ++i)
          csv += (i == failAt ? "\"Item\"x," : "Item,") + std::to_string(i) + "\n";
        app.write("stock.csv", csv);
        return ReportSource::csv(app / "stock.csv");
      },
      "stock.csv:");
  // Read as the pages are written: the failure comes after pages were built.
  expectAllOrNothing(
      [](int failAt) {
        return ReportSource::records(std::make_shared<HostRecords>(kRecords, failAt, kRecords));
      },
      "the host lost its data");
}

// Every connection the test process opens gets the function tick(), which counts its calls: a
// query that calls it once per row runs once when it is called once per row, so a query whose
// rows differ from one run to the next still gives one consistent report.
int ticks = 0;

void countTicks(sqlite3_context* context, int, sqlite3_value**) {
  sqlite3_result_int(context, ++ticks);
}

int addTick(sqlite3* db, const char**, const sqlite3_api_routines*) {
  return sqlite3_create_function(db, "tick", 0, SQLITE_UTF8, nullptr, countTicks, nullptr, nullptr);
}

TEST_F(ReportFailure, TheQueryRunsOnce) {
  const std::string db = products(app);
  ASSERT_EQ(sqlite3_auto_extension(reinterpret_cast<void (*)()>(addTick)), SQLITE_OK);
  ticks = 0;
  const auto result = make(ReportSource::sqlite(db, "SELECT * FROM products WHERE tick() > 0"));
  sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(addTick));
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_EQ(ticks, kRecords);
}

// The test run's PostgreSQL server (a CTest fixture).
class PostgresReportFailure : public ReportFailure {};

TEST_F(PostgresReportFailure, ASourceFailingAtAnyRowChangesNoPage) {
  const char* server = getenv("QUELO_TEST_POSTGRES_DIR");
  ASSERT_TRUE(server) << "run under CTest, which starts the server";
  const std::string connection =
      std::string("host=") + server + " port=5432 user=quelo dbname=postgres";
  expectAllOrNothing(
      [&](int failAt) {
        return ReportSource::postgres(connection, "SELECT g AS id, 100 / (g - " +
                                                      std::to_string(failAt) +
                                                      ") AS q FROM generate_series(1, 40) AS g");
      },
      "division by zero");
}

}  // namespace
}  // namespace quelo::testing
