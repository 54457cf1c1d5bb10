// A report whose records are read once, page by page, as the pages are written: the same pages
// as a report of the same records held whole, one snapshot of a source that changes meanwhile,
// and write errors, source errors and cancel as a run over held records meets them.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "data/sources/sqlite_source.h"
#include "fakes/fake_row_source.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/report_fixture.h"
#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "fakes/countdown_file_system.h"
#include "reporter/generation_driver.h"
#include "reporter/page_stream.h"
#include "reporter/report_form.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kPageSize = 10;

// Runs `onStep` at every step; cancels from the first step of page `cancelAtPage` on.
class StepProgress : public ReportProgress {
 public:
  std::function<void(const ReportStep&)> onStep;
  std::optional<int> cancelAtPage;

  void step(const ReportStep& where) override {
    if (onStep) onStep(where);
    cancelled_ = cancelAtPage && where.page >= *cancelAtPage;
  }
  bool cancelled() const override { return cancelled_; }
  bool deleteOnCancel() const override { return false; }

 private:
  bool cancelled_ = false;
};

// A source that counts `extra` more rows than its rows give.
class MiscountedSource : public RowSource {
 public:
  MiscountedSource(std::shared_ptr<FakeRowSource> rows, int64_t extra) : rows_(std::move(rows)), extra_(extra) {}
  Result<std::unique_ptr<RowStream>> run() const override { return rows_->run(); }
  Result<std::unique_ptr<CountedRowStream>> runCounted() const override {
    auto stream = rows_->run();
    if (!stream) return stream.error();
    return std::unique_ptr<CountedRowStream>(
        std::make_unique<Counted>(std::move(stream).value(), static_cast<int64_t>(rows_->rows.size()) + extra_));
  }
  std::string description() const override { return "fake:miscounted"; }

 private:
  class Counted : public CountedRowStream {
   public:
    Counted(std::unique_ptr<RowStream> rows, int64_t count) : rows_(std::move(rows)), count_(count) {}
    const std::vector<FieldInfo>& fields() const override { return rows_->fields(); }
    Result<bool> readRow(RowTable& table) override { return rows_->readRow(table); }
    int64_t count() const override { return count_; }

   private:
    std::unique_ptr<RowStream> rows_;
    int64_t count_;
  };
  std::shared_ptr<FakeRowSource> rows_;
  int64_t extra_;
};

class StreamedReport : public ::testing::Test, protected ReportServices {
 protected:
  StreamedReport() {
    EXPECT_EQ(sqlite3_open(db().c_str(), &writer), SQLITE_OK);
  }
  ~StreamedReport() override { sqlite3_close(writer); }

  std::string db() const { return dir / "shop.db"; }
  void exec(const std::string& sql) {
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(writer, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
  }
  // `n` products; some names and prices are Null, some notes long, some pictures bytes.
  void products(int n) {
    exec("DROP TABLE IF EXISTS products; CREATE TABLE products (id INTEGER PRIMARY KEY, name TEXT, price REAL,"
         " sold DATETIME, paid BOOLEAN, note TEXT, photo BLOB)");
    for (int i = 1; i <= n; ++i)
      exec("INSERT INTO products VALUES (" + std::to_string(i) + ", " +
           (i % 4 == 0 ? "NULL" : "'Item <" + std::to_string(i) + ">'") + ", " +
           (i % 3 == 0 ? "NULL" : std::to_string(i) + ".25") + ", datetime(1600000000 + " + std::to_string(i) +
           " * 4000, 'unixepoch'), " + std::to_string(i % 2) + ", " +
           (i % 5 == 0 ? "printf('%.*c', 20000, 'x') || ' \r\n end'" : "'short'") + ", " +
           (i % 2 == 0 ? "randomblob(64)" : "NULL") + ")");
  }
  std::shared_ptr<RowSource> query() { return sqliteQuery(files, db(), "SELECT * FROM products ORDER BY id;"); }

  ReportJob baseJob(int64_t records) const {
    ReportJob job;
    job.totalRecords = static_cast<int32_t>(records);
    job.fields = {"name", "price", "id", "sold", "paid", "note", "photo"};
    job.sums = {"price", "id"};
    job.advSettings = true;
    job.title = "Stock";
    job.colour = "White";
    job.baseName = "stock.htm";
    job.applicationPath = app.path();
    return job;
  }
  // The records read whole, then paged.
  ReportJob heldJob(int32_t pageSize = kPageSize) {
    auto records = Recordset::open(query()).value();
    const int64_t n = records->recordCount().value();
    ReportJob job = baseJob(n);
    for (int64_t first = 0; first < n; first += pageSize)
      job.pages.push_back(records->rowRange(first, std::min<int64_t>(pageSize, n - first)).value());
    return job;
  }
  // The records read once, as the pages are written.
  ReportJob streamedJob(std::shared_ptr<const RowSource> source, int32_t pageSize = kPageSize) const {
    auto records = Recordset::open(countedRows(std::move(source)), ado::adOpenForwardOnly);
    EXPECT_TRUE(records.isOk());
    const int64_t n = records.value()->countedRecords().value_or(-1);
    ReportJob job = baseJob(n);
    job.stream = std::make_shared<PageStream>(records.value(), pageSize, n);
    job.pageCount = static_cast<int16_t>((n + pageSize - 1) / pageSize);
    if (job.stream->firstPage()) job.pages.push_back(job.stream->firstPage());
    return job;
  }

  // Runs the job into an empty Reports folder and returns the pages it holds afterwards.
  std::map<std::string, std::string> pagesOf(const ReportJob& job, ReportProgress& progress,
                                             ReportOutcome* outcome = nullptr) {
    fs::remove_all(reports());
    ReportOutcome o = runReport(job, platform, progress, links);
    std::map<std::string, std::string> pages;
    if (fs::exists(reports()))
      for (const auto& e : fs::directory_iterator(reports()))
        if (e.is_regular_file()) pages[e.path().filename()] = app.read("Reports/" + e.path().filename().string());
    if (outcome) *outcome = std::move(o);
    return pages;
  }
  std::string reports() const { return app / "Reports"; }
  std::string page(int p) const { return app / ("Reports/stock" + std::to_string(p) + ".htm"); }

  ScratchDir dir, app;
  sqlite3* writer = nullptr;
};

// Pages of a size that is no multiple of a section end inside a section: a page read in place
// stops at its last record.
TEST_F(StreamedReport, PagesAreTheSameAsFromHeldRecords) {
  for (int32_t pageSize : {kPageSize, 7})
    for (int rows : {0, 3, pageSize, 2 * pageSize, pageSize + 1, 47}) {
      SCOPED_TRACE(std::to_string(rows) + " rows in pages of " + std::to_string(pageSize));
      products(rows);
      StepProgress progress;
      const auto held = pagesOf(heldJob(pageSize), progress);
      ReportOutcome outcome;
      const auto streamed = pagesOf(streamedJob(query(), pageSize), progress, &outcome);
      EXPECT_EQ(streamed, held);
      EXPECT_EQ(held.size(), static_cast<size_t>((rows + pageSize - 1) / pageSize));
      EXPECT_EQ(outcome.files.size(), held.size());
      EXPECT_TRUE(outcome.errors.empty());
    }
}

// Rows another connection writes while the report runs are in no page and in no statistic.
TEST_F(StreamedReport, ASourceChangedMidReportGivesOneSnapshot) {
  exec("PRAGMA journal_mode=WAL");
  products(25);
  StepProgress quiet;
  const auto before = pagesOf(heldJob(), quiet);
  StepProgress progress;
  int inserted = 0;
  progress.onStep = [&](const ReportStep& where) {
    if (where.page != 2 || inserted++ > 0) return;
    exec("INSERT INTO products (id, name, price) VALUES (1000, 'late', 1); DELETE FROM products WHERE id = 24");
  };
  EXPECT_EQ(pagesOf(streamedJob(query()), progress), before);
  EXPECT_GT(inserted, 0);
}

// A page the writer cannot write is named and left as it was; a full disk stops the run, and a
// cancel writes no page after it. The source is let go at the end either way.
TEST_F(StreamedReport, WriteErrorsAndCancelMidStream) {
  products(25);
  struct Case {
    const char* what;
    int diskFullAtWrite;  // 0: the disk does not fill
    bool folderAtPage2;
    std::optional<int> cancelAtPage;
    std::vector<int> written;
    const char* error;  // in the one error, with page 2's path; none when empty
  };
  const std::vector<Case> cases = {
      {"a folder in page 2's place", 0, true, std::nullopt, {1, 3}, "stock2.htm"},
      {"a full disk at page 2", 2, false, std::nullopt, {1}, "No space left on device"},
      {"cancelled at page 2", 0, false, 2, {1}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(reports());
    fs::create_directories(reports());
    if (c.folderAtPage2) fs::create_directory(page(2));
    CountdownFileSystem disk(files, {.at = c.diskFullAtWrite, .cause = FaultCause::kDiskFull, .only = "write"});
    if (c.diskFullAtWrite) platform.files = &disk;
    StepProgress progress;
    progress.cancelAtPage = c.cancelAtPage;
    ReportOutcome outcome;
    {
      const ReportJob job = streamedJob(query());
      outcome = runReport(job, platform, progress, links);
    }
    platform.files = &files;
    std::vector<std::string> written;
    for (int p : c.written) written.push_back(page(p));
    EXPECT_EQ(outcome.files, written);
    EXPECT_EQ(outcome.cancelled, c.cancelAtPage.has_value());
    ASSERT_EQ(outcome.errors.size(), std::string(c.error).empty() ? 0u : 1u);
    if (!outcome.errors.empty()) {
      EXPECT_NE(outcome.errors[0].find(page(2)), std::string::npos) << outcome.errors[0];
      EXPECT_NE(outcome.errors[0].find(c.error), std::string::npos) << outcome.errors[0];
    }
    EXPECT_EQ(fs::is_directory(page(2)), c.folderAtPage2);
    EXPECT_EQ(fs::exists(page(3)), c.written.size() == 2);
    exec("BEGIN IMMEDIATE; COMMIT");  // no read of the report is left open
  }
}

// A source that fails, or gives fewer records than it counted, stops the run at that page, and
// no page of the run is put in place.
TEST_F(StreamedReport, ASourceFailingMidStreamStopsTheRun) {
  struct Case {
    const char* what;
    int failAtRow;  // 0-based
    int extra;
    const char* error;
  };
  const std::vector<Case> cases = {
      {"a bad row on page 2", 13, 0, "fake: row 13 is bad"},
      {"a bad first row of page 3, read past page 2", 20, 0, "fake: row 20 is bad"},
      {"fewer rows than counted", -1, 5, "fewer records than it counted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto rows = numberedRows(27);
    rows->failAtRow = c.failAtRow;
    const ReportJob job = [&] {
      ReportJob j = streamedJob(std::make_shared<MiscountedSource>(rows, c.extra));
      j.fields = {"Id", "Name"};
      j.sums = {"Id"};
      return j;
    }();
    StepProgress progress;
    ReportOutcome outcome;
    pagesOf(job, progress, &outcome);
    EXPECT_TRUE(outcome.files.empty());
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_NE(outcome.sourceError.find(c.error), std::string::npos) << outcome.sourceError;
    EXPECT_FALSE(fs::exists(page(1)));
  }
}

// A host's forward-only record set is read once by the automatic report, with the pages of the
// same records held whole.
class HostRecordsets : public ReportTest {};

TEST_F(HostRecordsets, AForwardOnlyRecordsetGivesThePagesOfAStaticOne) {
  setMaxRecs(10);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((app / "shop.db").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE t (id INTEGER, name TEXT, price REAL);"
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 25) "
                         "INSERT INTO t SELECT i, CASE WHEN i % 4 THEN 'Item ' || i END, i * 1.5 FROM n",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  std::map<std::string, std::string> pages[2];
  for (int cursor : {ado::adOpenStatic, ado::adOpenForwardOnly}) {
    fs::remove_all(reports());
    auto records = Recordset::open(sqliteQuery(h->files, app / "shop.db", "SELECT * FROM t ORDER BY id"), cursor);
    ASSERT_TRUE(records.isOk());
    Args args = autoArgs(records.value(), "stock");
    ASSERT_TRUE(runAuto(args));
    auto& held = pages[cursor == ado::adOpenForwardOnly];
    for (const auto& e : fs::directory_iterator(reports())) held[e.path().filename()] = page(e.path().filename());
  }
  EXPECT_EQ(pages[0].size(), 3u);
  EXPECT_EQ(pages[1], pages[0]);
}

}  // namespace
}  // namespace quelo::testing
