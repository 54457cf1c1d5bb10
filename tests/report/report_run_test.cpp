// A report job run without any form: a job built in code over an SQLite table, its records held
// whole or read once as the pages are written, pages in a scratch folder, and a progress sink
// that cancels. Streamed pages are those of the same records held whole, one snapshot of a source
// that changes meanwhile; cancel, write errors and source errors stop the run as they should.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "data/sources/sqlite_source.h"
#include "fakes/countdown_file_system.h"
#include "fakes/fake_row_source.h"
#include "fakes/folder_files.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/holding_rows.h"
#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "report/generation_driver.h"
#include "report/page_stream.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

// Records every step; cancels from step `cancelAtStep`, or from the first step of page
// `cancelAtPage`, on.
struct Progress : ReportProgress {
  void step(const SectionStep& where) override {
    steps.emplace_back(where.page, where.totalPages);
    if (onStep) onStep(where);
    pageCancelled = cancelAtPage && where.page >= *cancelAtPage;
  }
  bool cancelled() const override {
    return pageCancelled || (cancelAtStep && steps.size() >= *cancelAtStep);
  }
  bool deleteOnCancel() const override { return deleting; }

  std::optional<size_t> cancelAtStep;
  std::optional<int> cancelAtPage;
  bool deleting = false, pageCancelled = false;
  std::function<void(const SectionStep&)> onStep;
  std::vector<std::pair<int, int>> steps;  // page, total pages
};

// Rows counted `extra` more than they are.
struct MiscountedSource : FakeRowSource {
  Result<std::unique_ptr<CountedRowStream>> runCounted() const override {
    auto stream = run();
    if (!stream) return stream.error();
    return std::unique_ptr<CountedRowStream>(std::make_unique<Counted>(
        std::move(stream).value(), static_cast<int64_t>(rows.size()) + extra));
  }
  struct Counted : CountedRowStream {
    Counted(std::unique_ptr<RowStream> r, int64_t n) : rows(std::move(r)), n(n) {}
    const std::vector<FieldInfo>& fields() const override { return rows->fields(); }
    Result<bool> readRow(RowTable& table) override { return rows->readRow(table); }
    int64_t count() const override { return n; }
    std::unique_ptr<RowStream> rows;
    int64_t n;
  };
  int64_t extra = 0;
};

class ReportRun : public ::testing::Test, protected ReportServices {
 protected:
  std::string db() const { return dir / "shop.db"; }
  // `n` products; some names and prices are Null, some notes long, some pictures bytes.
  void products(int n) {
    sqlExec(
        db(),
        "DROP TABLE IF EXISTS products; CREATE TABLE products (id INTEGER PRIMARY KEY, name "
        "TEXT, price REAL, sold DATETIME, paid BOOLEAN, note TEXT, photo BLOB);"
        "WITH RECURSIVE n(i) AS (SELECT 1 WHERE 1 <= " +
            std::to_string(n) + " UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(n) +
            ") INSERT INTO products SELECT i, CASE WHEN i % 4 THEN 'Item <' || i || '>' END,"
            " CASE WHEN i % 3 THEN i + 0.25 END, datetime(1600000000 + i * 4000, 'unixepoch'),"
            " i % 2, CASE WHEN i % 5 THEN 'short' ELSE printf('%.*c', 20000, 'x') || ' \r\n end'"
            " END, CASE WHEN i % 2 = 0 THEN randomblob(64) END FROM n");
  }
  std::shared_ptr<RowSource> query() {
    return sqliteQuery(files, db(), "SELECT * FROM products ORDER BY id;");
  }

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
  ReportJob heldJob(int32_t pageSize = 10) {
    auto records = Recordset::open(query()).value();
    const int64_t n = records->recordCount().value();
    ReportJob job = baseJob(n);
    for (int64_t first = 0; first < n; first += pageSize)
      job.pages.push_back(records->rowRange(first, std::min<int64_t>(pageSize, n - first)).value());
    return job;
  }
  // The records read once, as the pages are written; counted first, or while they are read.
  ReportJob streamedJob(std::shared_ptr<const RowSource> source, int32_t pageSize = 10,
                        Counting counting = Counting::First) const {
    auto records =
        Recordset::open(countedRows(std::move(source), counting), ado::adOpenForwardOnly);
    EXPECT_TRUE(records.isOk());
    const int64_t n =
        counting == Counting::First ? records.value()->countedRecords().value_or(-1) : 0;
    ReportJob job = baseJob(n);
    job.stream = std::make_shared<PageStream>(records.value(), pageSize);
    job.pageCount = static_cast<int16_t>((n + pageSize - 1) / pageSize);
    if (job.stream->firstPage()) job.pages.push_back(job.stream->firstPage());
    return job;
  }
  // 23 records held in pages of 10, 10 and 3 (3, 3 and 1 progress steps), Id summed, printed.
  ReportJob printedJob() {
    products(23);
    ReportJob job = heldJob();
    job.fields = {"id", "name"};
    job.sums = {"id"};
    job.print = true;
    return job;
  }

  // Runs the job into an empty Reports folder and returns the pages it holds afterwards.
  FolderFiles pagesOf(const ReportJob& job, ReportProgress& progress,
                      ReportOutcome* outcome = nullptr) {
    fs::remove_all(reports());
    ReportOutcome o = runReport(job, platform, progress, links);
    if (outcome) *outcome = std::move(o);
    return filesUnder(reports());
  }
  std::string reports() const { return app / "Reports"; }
  std::string page(int p) const { return app / ("Reports/stock" + std::to_string(p) + ".htm"); }
  std::vector<std::string> pages(const std::vector<int>& numbers) const {
    std::vector<std::string> paths;
    for (int p : numbers) paths.push_back(page(p));
    return paths;
  }

  ScratchDir dir, app;
};

TEST_F(ReportRun, CancellingKeepsOrDeletesThePagesWrittenBefore) {
  struct Case {
    std::optional<size_t> cancelAt;
    bool deleteOnCancel;
    std::vector<int> kept;  // pages written and listed
    size_t steps;
  };
  const std::vector<Case> cases = {
      {std::nullopt, false, {1, 2, 3}, 7},
      {3, false, {}, 3},   // at the last step of page 1: nothing written
      {4, false, {1}, 4},  // at the first step of page 2
      {4, true, {}, 4},    // page 1 deleted again
      {7, false, {1, 2}, 7},
  };
  const ReportJob job = printedJob();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cancelAt.value_or(0) * 10 + c.deleteOnCancel);
    for (int p = 1; p <= 3; ++p) (void)files.remove(page(p));
    shell.launches.clear();
    Progress progress;
    progress.cancelAtStep = c.cancelAt;
    progress.deleting = c.deleteOnCancel;
    const ReportOutcome outcome = runReport(job, platform, progress, links);
    EXPECT_EQ(outcome.files, pages(c.kept));
    EXPECT_EQ(outcome.cancelled, c.cancelAt.has_value());
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_EQ(progress.steps.size(), c.steps);
    for (int p = 1; p <= 3; ++p)
      EXPECT_EQ(files.exists(page(p)), std::count(c.kept.begin(), c.kept.end(), p) == 1) << p;
    // Pages deleted on cancel are not printed; kept ones are, even after a cancel.
    EXPECT_EQ(shell.launches.empty(), c.kept.empty());
  }
}

// One page of the job, written alone under the base name, keeps its number in its heading.
TEST_F(ReportRun, TheCurrentPageAlone) {
  ReportJob one = printedJob();
  one.allPages = false;
  one.currentPage = 2;
  Progress progress;
  const ReportOutcome outcome = runReport(one, platform, progress, links);
  EXPECT_EQ(outcome.files, std::vector<std::string>{app / "Reports/stock.htm"});
  EXPECT_EQ(progress.steps, (std::vector<std::pair<int, int>>(3, {1, 1})));
  const std::string written = app.read("Reports/stock.htm");
  EXPECT_NE(written.find("Vol 2 of Stock"), std::string::npos);
  EXPECT_NE(written.find(">11</TD><TD><BGCOLOR=[White]>Item&nbsp;<11><"), std::string::npos)
      << written;
  EXPECT_EQ(written.find("Item&nbsp;<10><"), std::string::npos);
}

// A full disk at any step of writing the PDF leaves the earlier PDF as it was (or none) and the
// pages written; the run says so in a warning.
TEST_F(ReportRun, AFullDiskWhileThePdfIsWrittenLeavesTheEarlierPdf) {
  ReportJob j = printedJob();
  j.print = false;
  j.output.pdf = true;
  const std::string pdf = app / "Reports/stock.pdf";
  Progress first, progress;
  (void)runReport(j, platform, first,
                  links);  // the pages are there from now on, as in the runs below
  CountdownFileSystem counting(files, {});
  platform.files = &counting;
  (void)runReport(j, platform, progress, links);
  std::vector<int> pdfSteps;
  for (size_t i = 0; i < counting.operations().size(); ++i)
    if (counting.operations()[i].ends_with("stock.pdf"))
      pdfSteps.push_back(static_cast<int>(i) + 1);
  ASSERT_EQ(pdfSteps.size(), 3u) << "created, written and put in place";
  for (int at : pdfSteps) {
    (void)files.remove(pdf);
    app.write("Reports/stock.pdf", "earlier");
    CountdownFileSystem full(files, {.at = at, .cause = FaultCause::kDiskFull});
    platform.files = &full;
    Progress again;
    const ReportOutcome outcome = runReport(j, platform, again, links);
    EXPECT_EQ(outcome.files.size(), 3u) << at;
    ASSERT_EQ(outcome.warnings.size(), 1u) << at;
    EXPECT_EQ(outcome.warnings[0].rfind("no PDF written: ", 0), 0u) << outcome.warnings[0];
    EXPECT_EQ(app.read("Reports/stock.pdf"), "earlier") << at;
  }
  platform.files = &files;
}

// Files that take a while each to begin: a run's writer falls behind.
class SlowPageFiles : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  Result<std::unique_ptr<OutputFile>> beginUpdate(const std::string& path,
                                                  std::string_view newFilePrefix) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return ForwardingFileSystem::beginUpdate(path, newFilePrefix);
  }
};

// Pages of a size that is no multiple of a section end inside a section: a page read in place
// stops at its last record. Pages of whole sections between the first and the last are formatted
// apart (on a machine of more than one processor), their statistics added in page order: prices
// swinging about zero put the least and the greatest on a page between, and prices all below zero
// a greatest that is no zero. While the writer is behind (200 rows written slowly), such pages
// are formatted by the run itself, after those formatted apart, their statistics following on.
TEST_F(ReportRun, StreamedPagesAreTheSameAsFromHeldRecords) {
  const char* swinging =
      "UPDATE products SET price = (20 - abs(id - 25)) * (id % 2 * 2 - 1) + 0.25 WHERE price";
  const char* negative = "UPDATE products SET price = -1.25 - abs(id - 25) WHERE price";
  SlowPageFiles slow(files);
  for (const char* prices : {"", swinging, negative})
    for (int32_t pageSize : {10, 7})
      for (int rows : {0, 3, pageSize, 2 * pageSize, pageSize + 1, 47, 200}) {
        SCOPED_TRACE(std::to_string(rows) + " rows in pages of " + std::to_string(pageSize));
        products(rows);
        sqlExec(db(), prices);
        Progress progress;
        const auto held = pagesOf(heldJob(pageSize), progress);
        ReportOutcome outcome;
        if (rows == 200) platform.files = &slow;
        const auto streamed = pagesOf(streamedJob(query(), pageSize), progress, &outcome);
        platform.files = &files;
        EXPECT_EQ(streamed, held);
        EXPECT_EQ(held.size(), static_cast<size_t>((rows + pageSize - 1) / pageSize));
        EXPECT_EQ(outcome.files.size(), held.size());
        EXPECT_TRUE(outcome.errors.empty());
      }
}

// Rows another connection writes while the report runs are in no page and in no statistic.
TEST_F(ReportRun, ASourceChangedMidStreamGivesOneSnapshot) {
  sqlExec(db(), "PRAGMA journal_mode=WAL");
  products(25);
  Progress quiet;
  const auto before = pagesOf(heldJob(), quiet);
  Progress progress;
  int inserted = 0;
  progress.onStep = [&](const SectionStep& where) {
    if (where.page != 2 || inserted++ > 0) return;
    sqlExec(db(),
            "INSERT INTO products (id, name, price) VALUES (1000, 'late', 1);"
            " DELETE FROM products WHERE id = 24");
  };
  EXPECT_EQ(pagesOf(streamedJob(query()), progress), before);
  EXPECT_GT(inserted, 0);
}

// A full disk stops the run, naming the page, and a cancel writes no page after it (a page that
// alone cannot be written is the page files' case). The source is let go at the end either way.
TEST_F(ReportRun, WriteErrorsAndCancelMidStream) {
  products(25);
  for (const bool diskFull : {true, false}) {
    SCOPED_TRACE(diskFull ? "a full disk at page 2" : "cancelled at page 2");
    fs::remove_all(reports());
    CountdownFileSystem disk(
        files, {.at = 1, .cause = FaultCause::kDiskFull, .only = "write", .onPath = "stock2.htm"});
    if (diskFull) platform.files = &disk;
    Progress progress;
    if (!diskFull) progress.cancelAtPage = 2;
    ReportOutcome outcome;
    {
      const ReportJob job = streamedJob(query());
      outcome = runReport(job, platform, progress, links);
    }
    platform.files = &files;
    EXPECT_EQ(outcome.files, pages({1}));
    EXPECT_EQ(outcome.cancelled, !diskFull);
    ASSERT_EQ(outcome.errors.size(), diskFull ? 1u : 0u);
    if (diskFull) {
      EXPECT_NE(outcome.errors[0].find(page(2)), std::string::npos) << outcome.errors[0];
      EXPECT_NE(outcome.errors[0].find("No space left on device"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(page(2)));
    EXPECT_FALSE(fs::exists(page(3)));
    sqlExec(db(), "BEGIN IMMEDIATE; COMMIT");  // no read of the report is left open
  }
}

// Counted while it is read, a run writes the pages it knows are not the last before the count,
// their links and progress following once the count is known (the source holds its last row
// until pages are under way: twelve, whose ends are written by two threads, or one before a
// full disk). The pages, the progress, a cancel and a full disk end as they do when the run is
// counted first.
TEST_F(ReportRun, PagesBegunBeforeTheCountEndAsWhenCountedFirst) {
  products(200);
  struct Case {
    const char* what;
    std::optional<int> cancelAtPage;
    bool deleting, diskFull;
    int begun;
  };
  for (const Case& c :
       {Case{"whole", {}, false, false, 12}, Case{"cancelled at page 3", 3, false, false, 12},
        Case{"cancelled at page 3, deleting", 3, true, false, 12},
        Case{"a full disk at page 3", {}, false, true, 1}}) {
    SCOPED_TRACE(c.what);
    std::vector<FolderFiles> written;
    std::vector<ReportOutcome> outcomes;
    std::vector<Progress> progresses(2);
    for (const Counting counting : {Counting::First, Counting::WhileRead}) {
      const bool behind = counting == Counting::WhileRead;
      auto source = std::make_shared<HoldingRows>(query(), behind ? 200 : 0,
                                                  [&] { return pageUnderWay(reports(), c.begun); });
      CountdownFileSystem disk(
          files,
          {.at = 1, .cause = FaultCause::kDiskFull, .only = "write", .onPath = "stock3.htm"});
      if (c.diskFull) platform.files = &disk;
      Progress& progress = progresses[behind];
      progress.cancelAtPage = c.cancelAtPage;
      progress.deleting = c.deleting;
      ReportOutcome outcome;
      written.push_back(pagesOf(streamedJob(source, 10, counting), progress, &outcome));
      platform.files = &files;
      outcomes.push_back(std::move(outcome));
      EXPECT_EQ(source->met(), behind);
    }
    EXPECT_EQ(written[1], written[0]);
    EXPECT_EQ(outcomes[1].files, outcomes[0].files);
    EXPECT_EQ(outcomes[1].errors, outcomes[0].errors);
    EXPECT_EQ(outcomes[1].cancelled, outcomes[0].cancelled);
    // After a full disk the run counted first goes on stepping while its writer catches up.
    if (!c.diskFull) {
      EXPECT_EQ(progresses[1].steps, progresses[0].steps);
    }
    EXPECT_EQ(outcomes[0].files.size(), c.deleting ? 0u : c.cancelAtPage || c.diskFull ? 2u : 20u);
  }
}

// A source that gives fewer records than it counted stops the run at the page it falls short on
// (read in place, or read ahead for a formatter), and no page of the run is put in place (a source
// that fails part-way is the report API's case).
TEST_F(ReportRun, ASourceGivingFewerRecordsThanCountedStopsTheRun) {
  for (int32_t pageSize : {10, 7}) {
    SCOPED_TRACE("pages of " + std::to_string(pageSize));
    auto miscounted = std::make_shared<MiscountedSource>();
    static_cast<FakeRowSource&>(*miscounted) = *numberedRows(27);
    miscounted->extra = 5;
    ReportJob job = streamedJob(miscounted, pageSize);
    job.fields = {"Id", "Name"};
    job.sums = {"Id"};
    Progress progress;
    ReportOutcome outcome;
    pagesOf(job, progress, &outcome);
    EXPECT_TRUE(outcome.files.empty());
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_NE(outcome.sourceError.find("fewer records than it counted"), std::string::npos)
        << outcome.sourceError;
    ASSERT_FALSE(progress.steps.empty());
    EXPECT_EQ(progress.steps.back().first, 27 / pageSize + 1);
    EXPECT_FALSE(fs::exists(page(1)));
  }
}

}  // namespace
}  // namespace quelo::testing
