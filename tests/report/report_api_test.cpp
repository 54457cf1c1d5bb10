// The typed reporting API: a request in, pages or a reason out, with the caller's progress
// callback cancelling the run; a source read as the pages are written; and the automatic report
// taking the same road to the same pages.
#include "report/report_api.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "automation/date_time.h"
#include "data/sources/sqlite_source.h"
#include "fakes/folder_files.h"
#include "fakes/report_fixture.h"
#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"

namespace quelo::testing {
namespace {

using varnikquelo::ReportErrorCode;
using varnikquelo::ReportRequest;
using varnikquelo::ReportResult;
using varnikquelo::ReportSource;
using varnikquelo::Value;

class ReportApi : public ::testing::Test, protected ReportServices {
 protected:
  ReportApi() {
    // 12 records: pages of 5, 5 and 2.
    std::string csv = "Name,Qty\n";
    for (int i = 1; i <= 12; ++i)
      csv += "Item " + std::to_string(i) + "," + std::to_string(i) + "\n";
    app.write("stock.csv", csv);
    app.write("empty.csv", "Name,Qty\n");
    app.write("cafe.csv", "Name,Qty\nCaf\xC3\xA9,1\n");
  }

  ReportRequest request() const {
    ReportRequest r;
    r.source = ReportSource::csv(app / "stock.csv");
    r.fileName = "Stock.htm";
    r.title = "Stock";
    r.applicationPath = app.path();
    r.recordsPerPage = 5;
    return r;
  }
  ReportResult make(const ReportRequest& r) { return makeReport(r, platform); }
  std::string page(int p) const { return app / ("Reports/stock" + std::to_string(p) + ".htm"); }

  ScratchDir app;
};

TEST_F(ReportApi, WritesThePagesOfTheSource) {
  ReportRequest r = request();
  r.sums = {"Qty"};
  r.useSettings = true;
  r.settings.notes = "Mind";
  r.settings.notesAtBottom = true;
  r.action = varnikquelo::ReportAction::Print;
  const ReportResult result = make(r);
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_EQ(result.pages, (std::vector<std::string>{page(1), page(2), page(3)}));
  const std::string last = app.read("Reports/stock3.htm");
  EXPECT_NE(last.find("Item&nbsp;12<"), std::string::npos);
  EXPECT_NE(last.find("<B> Qty</B> : Total = 78"), std::string::npos) << last;
  EXPECT_NE(last.find("Mind"), std::string::npos);  // the notes under the last page's table
  ASSERT_EQ(shell.launches.size(), 1u);             // one job of every page
  EXPECT_EQ(renderer.calls.at(0).size(), 3u);
}

ReportSource host(int n, int throwAt, int64_t counted, bool shortRecords = false) {
  return ReportSource::records(std::make_shared<HostRecords>(n, throwAt, counted, shortRecords));
}

// Every request that cannot make a report says why, and writes nothing.
TEST_F(ReportApi, RefusedRequestsSayWhy) {
  struct Case {
    const char* name;
    std::function<void(ReportRequest&)> change;
    ReportErrorCode code;
    const char* reason;  // a part of the message
  };
  const std::vector<Case> cases = {
      {"no source", [](ReportRequest& r) { r.source = ReportSource(); }, ReportErrorCode::NoSource,
       "no source"},
      {"missing file", [&](ReportRequest& r) { r.source = ReportSource::csv(app / "none.csv"); },
       ReportErrorCode::SourceFailed, "none.csv"},
      {"byte of no character",
       [&](ReportRequest& r) { r.source = ReportSource::csv(app / "cafe.csv", ',', "ASCII"); },
       ReportErrorCode::SourceFailed, "cafe.csv:2"},
      {"no records", [&](ReportRequest& r) { r.source = ReportSource::csv(app / "empty.csv"); },
       ReportErrorCode::NoRecords, "no record"},
      {"unknown field", [](ReportRequest& r) { r.fields.assign(1, "Price"); },
       ReportErrorCode::UnknownField, "Price"},
      {"unknown picture field", [](ReportRequest& r) { r.pictures["Photo"] = "/tmp"; },
       ReportErrorCode::UnknownField, "Photo"},
      {"page size", [](ReportRequest& r) { r.recordsPerPage = 0; }, ReportErrorCode::BadRequest,
       "at least 1"},
      // Refused once the count is known, with pages begun meanwhile.
      {"too many pages",
       [&](ReportRequest& r) {
         sqlExec(app / "n.db", "CREATE TABLE IF NOT EXISTS t (x)");
         r.source = ReportSource::sqlite(app / "n.db",
                                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                         "FROM n LIMIT 163836) SELECT i FROM n");
         r.recordsPerPage = 5;
       },
       ReportErrorCode::BadRequest,
       "163836 records make 32768 pages of 5; a report holds at most 32767 pages"},
      {"file name", [](ReportRequest& r) { r.fileName = "  "; }, ReportErrorCode::BadRequest,
       "file name"},
      {"missing application folder", [&](ReportRequest& r) { r.applicationPath = app / "gone/"; },
       ReportErrorCode::PagesLost, "gone"},
      {"no host records", [](ReportRequest& r) { r.source = ReportSource::records(nullptr); },
       ReportErrorCode::NoSource, ""},
      {"short host record", [](ReportRequest& r) { r.source = host(2, 0, -1, true); },
       ReportErrorCode::SourceFailed, "record 1 has 1 values for 2 fields"},
      {"wrong host count", [](ReportRequest& r) { r.source = host(2, 0, 3); },
       ReportErrorCode::SourceFailed, "gave 2 records of the 3 it counted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportRequest r = request();
    c.change(r);
    const ReportResult result = make(r);
    EXPECT_EQ(result.error.code, c.code);
    EXPECT_NE(result.error.message.find(c.reason), std::string::npos) << result.error.message;
    EXPECT_EQ(result.error.message.find('\n'), std::string::npos) << "one cause, one line";
    EXPECT_TRUE(result.pages.empty());
    EXPECT_FALSE(files.exists(app / "Reports"));
  }
}

// The callback sees every step and cancels by answering false or by throwing; the pages written
// before are kept or deleted as asked.
TEST_F(ReportApi, TheProgressCallbackCancels) {
  ReportRequest deleting = request();
  std::vector<int> pagesSeen;
  deleting.progress = [&](const varnikquelo::ReportStep& step) {
    pagesSeen.push_back(step.page);
    EXPECT_EQ(step.totalPages, 3);
    return step.page < 2;
  };
  deleting.deleteOnCancel = true;
  const ReportResult result = make(deleting);
  EXPECT_EQ(result.error.code, ReportErrorCode::Cancelled);
  EXPECT_EQ(pagesSeen, (std::vector<int>{1, 1, 2}));
  EXPECT_TRUE(result.pages.empty());
  EXPECT_FALSE(files.exists(page(1)));
  ReportRequest r = request();
  r.progress = [](const varnikquelo::ReportStep& step) {
    if (step.page == 2) throw std::runtime_error("no room on the screen");
    return true;
  };
  const ReportResult thrown = make(r);
  EXPECT_EQ(thrown.error.code, ReportErrorCode::Cancelled);
  EXPECT_EQ(thrown.error.message, "the progress callback threw: no room on the screen");
  EXPECT_EQ(thrown.pages, std::vector<std::string>{page(1)});
  EXPECT_FALSE(files.exists(page(2)));
}

// The automatic report describes its report as a request and takes the typed API's road: the
// same request gives the same pages, from a source read as they are written or held whole.
TEST_F(ReportTest, TheAutomaticReportAndTheTypedApiWriteTheSamePages) {
  const std::string db = app / "shop.db", query = "SELECT name, price, qty FROM products";
  sqlExec(db,
          "CREATE TABLE products (id INTEGER PRIMARY KEY, name TEXT, price REAL, qty INTEGER);"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 47)"
          " INSERT INTO products SELECT i, 'Item <' || i || '>', i * 1.25, i % 7 FROM n");
  for (const bool forwardOnly : {true, false}) {
    SCOPED_TRACE(forwardOnly);
    std::filesystem::remove_all(reports());
    auto records = Recordset::open(sqliteQuery(h->files, db, query),
                                   forwardOnly ? ado::adOpenForwardOnly : ado::adOpenStatic);
    ASSERT_TRUE(records);
    ASSERT_TRUE(runAuto(autoArgs(records.value(), "stock.htm", "Stock")));

    ScratchDir other;
    varnikquelo::ReportRequest r;
    r.source = ReportSource::sqlite(db, query);
    r.sums = {"price", "qty"};
    r.title = "Stock";
    // The automatic report dates its heading to the second.
    const CivilTime now = civilFromDate(dateFromTimePoint(h->clock.wallNow()));
    r.dateLine = formatTwelveHourTime(now) + " of " +
                 formatLongDate(dateFromCivil({now.year, now.month, now.day})) + " <Br> ";
    r.fileName = "stock.htm";
    r.applicationPath = other.path();
    r.useSettings = true;
    r.settings.fontName = "Times New Roman";
    Platform platform = h->platform();
    const ReportResult result = makeReport(r, platform);
    ASSERT_TRUE(result.ok()) << result.error.message;
    EXPECT_EQ(result.pages.size(), 5u);
    EXPECT_EQ(filesUnder(other / "Reports"), filesUnder(reports()));
  }
}

// The same rows from a host and from an SQLite table make the same pages, byte for byte.
TEST_F(ReportApi, AHostsRecordsMakeThePagesOfTheSameTable) {
  sqlExec(app / "shop.db",
          "CREATE TABLE t(Name TEXT, Qty INTEGER, Price REAL, Big BIGINT);"
          "INSERT INTO t VALUES ('Grüße', 3, 1.5, 5000000000), ('東京#https://example.org/#', 4, "
          "0.1, 1),"
          " ('a<b>', NULL, 2, -1), ('', 0, -7.25, 0), ('last', 12, 1e20, 9);");
  using varnikquelo::FieldType;
  const Value null{varnikquelo::Null{}};
  const varnikquelo::Records host = varnikquelo::Records::table(
      {{"Name", FieldType::LongText},
       {"Qty", FieldType::Int32},
       {"Price", FieldType::Double},
       {"Big", FieldType::Int64}},
      {{Value("Grüße"), Value(3), Value(1.5), Value(int64_t{5000000000})},
       {Value("東京#https://example.org/#"), Value(4), Value(0.1), Value(int64_t{1})},
       {Value("a<b>"), null, Value(2.0), Value(int64_t{-1})},
       {Value(""), Value(0), Value(-7.25), Value(int64_t{0})},
       {Value("last"), Value(12), Value(1e20), Value(int64_t{9})}});
  std::vector<std::vector<std::string>> pages;
  const std::vector<ReportSource> sources = {
      ReportSource::sqlite(app / "shop.db", "SELECT * FROM t"), ReportSource::records(host)};
  for (size_t i = 0; i < sources.size(); ++i) {
    ReportRequest r = request();
    r.source = sources[i];
    r.applicationPath = app / ("run" + std::to_string(i) + "/");  // the same page names, apart
    std::filesystem::create_directory(r.applicationPath);
    r.recordsPerPage = 2;
    r.sums = {"Qty", "Price"};
    r.useSettings = true;
    const ReportResult result = make(r);
    ASSERT_TRUE(result.ok()) << result.error.message;
    pages.emplace_back();
    for (const std::string& p : result.pages) pages.back().push_back(files.readFile(p).value());
  }
  ASSERT_EQ(pages[0].size(), 3u);
  EXPECT_EQ(pages[1], pages[0]);
}

}  // namespace
}  // namespace quelo::testing
