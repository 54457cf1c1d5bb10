// A report is all or nothing against its source: a source failing at any row leaves every page,
// new or earlier, as it was, whatever the source. An SQL query runs once, so a query whose rows
// differ from one run to the next still gives one consistent report.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/recordset/recordset.h"
#include "fakes/fake_row_source.h"
#include "fakes/holding_rows.h"
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

// Counted while it is read, a report has pages under way before its source fails (the source
// holds its failing row until one is): the folder is left as it was all the same, with an earlier
// report in it or without a Reports folder at all.
TEST_F(ReportFailure, ASourceFailingAfterPagesWereBegunChangesNoPage) {
  auto rows = numberedRows(60);
  for (auto& row : rows->rows) row[1] = Variant(std::string(70000, 'x'));  // a spool read a row
  const auto source = [&](std::shared_ptr<const RowSource> from) {
    auto records =
        Recordset::open(countedRows(std::move(from), Counting::WhileRead), ado::adOpenForwardOnly);
    return recordsetSource(std::move(records).value());
  };
  for (const bool earlier : {false, true}) {
    SCOPED_TRACE(earlier ? "over an earlier report" : "into no Reports folder");
    std::filesystem::remove_all(app / "Reports");
    if (earlier) {
      ASSERT_TRUE(make(source(rows)).ok());
    }
    const auto before = folder();
    auto failing = std::make_shared<FakeRowSource>(*rows);
    failing->failAtRow = 59;
    auto held =
        std::make_shared<HoldingRows>(failing, 60, [&] { return pageUnderWay(app / "Reports"); });
    const varnikquelo::ReportResult result = make(source(held));
    EXPECT_TRUE(held->met());
    EXPECT_EQ(result.error.code, varnikquelo::ReportErrorCode::SourceFailed);
    EXPECT_NE(result.error.message.find("fake: row 59 is bad"), std::string::npos)
        << result.error.message;
    EXPECT_TRUE(result.pages.empty());
    EXPECT_EQ(folder(), before);
    EXPECT_EQ(std::filesystem::exists(app / "Reports"), earlier);
  }
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
