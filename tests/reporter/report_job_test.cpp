// A report job run without any form: a job built in code, pages in a scratch folder, and a
// progress sink that cancels after a number of steps.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "fakes/countdown_file_system.h"
#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "reporter/generation_driver.h"

namespace quelo::testing {
namespace {

// Records every step; cancels from step `cancelAt` on.
class CountdownProgress : public ReportProgress {
 public:
  CountdownProgress(std::optional<size_t> cancelAt, bool deleteOnCancel)
      : cancelAt_(cancelAt), deleteOnCancel_(deleteOnCancel) {}
  void step(const ReportStep& where) override { steps.emplace_back(where.page, where.totalPages); }
  bool cancelled() const override { return cancelAt_ && steps.size() >= *cancelAt_; }
  bool deleteOnCancel() const override { return deleteOnCancel_; }

  std::vector<std::pair<int, int>> steps;  // page, total pages

 private:
  std::optional<size_t> cancelAt_;
  bool deleteOnCancel_;
};

class ReportJobRun : public ::testing::Test, protected ReportServices {
 protected:
  // 23 records in pages of 10, 10 and 3: pages of 3, 3 and 1 progress steps.
  ReportJob job() const {
    auto rs = Recordset::create();
    EXPECT_TRUE(rs->appendField("Name", ado::adVarWChar, 50, 102));
    EXPECT_TRUE(rs->appendField("Qty", ado::adInteger, 4, 118));
    EXPECT_TRUE(rs->setCursorType(ado::adOpenStatic));
    EXPECT_TRUE(rs->setLockType(ado::adLockOptimistic));
    EXPECT_TRUE(rs->open());
    for (int32_t i = 1; i <= 23; ++i) {
      EXPECT_TRUE(rs->addNew());
      EXPECT_TRUE(rs->setValue(0, Variant("Item " + std::to_string(i))));
      EXPECT_TRUE(rs->setValue(1, Variant(i)));
      EXPECT_TRUE(rs->update());
    }
    ReportJob j;
    for (int64_t first = 0; first < 23; first += 10) j.pages.push_back(rs->rowRange(first, std::min<int64_t>(10, 23 - first)).value());
    j.totalRecords = 23;
    j.fields = {"Qty", "Name"};
    j.sums = {"Qty"};
    j.advSettings = true;
    j.title = "Stock";
    j.colour = "White";
    j.baseName = "stock.htm";
    j.applicationPath = app.path();
    j.print = true;
    return j;
  }
  std::string page(int p) const { return app / ("Reports/stock" + std::to_string(p) + ".htm"); }

  ScratchDir app;
};

TEST_F(ReportJobRun, CancellingKeepsOrDeletesThePagesWrittenBefore) {
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cancelAt.value_or(0) * 10 + c.deleteOnCancel);
    for (int p = 1; p <= 3; ++p) (void)files.remove(page(p));
    shell.launches.clear();
    CountdownProgress progress(c.cancelAt, c.deleteOnCancel);
    const ReportOutcome outcome = runReport(job(), platform, progress, links);
    std::vector<std::string> kept;
    for (int p : c.kept) kept.push_back(page(p));
    EXPECT_EQ(outcome.files, kept);
    EXPECT_EQ(outcome.cancelled, c.cancelAt.has_value());
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_EQ(progress.steps.size(), c.steps);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(files.exists(page(p)), std::count(c.kept.begin(), c.kept.end(), p) == 1) << p;
    // Pages deleted on cancel are not printed; kept ones are, even after a cancel.
    EXPECT_EQ(shell.launches.empty(), c.kept.empty());
  }
}

// The steps say where the run is; the statistics run over all pages of this run alone.
TEST_F(ReportJobRun, StepsAndStatisticsCoverTheRun) {
  for (int run = 0; run < 2; ++run) {
    for (int p = 1; p <= 3; ++p) (void)files.remove(page(p));
    CountdownProgress progress(std::nullopt, false);
    ASSERT_EQ(runReport(job(), platform, progress, links).files.size(), 3u);
    const std::vector<std::pair<int, int>> steps = {{1, 3}, {1, 3}, {1, 3}, {2, 3}, {2, 3}, {2, 3}, {3, 3}};
    EXPECT_EQ(progress.steps, steps);
    const std::string last = app.read("Reports/stock3.htm");
    EXPECT_NE(last.find("Vol 3 of Stock<Br>Stock"), std::string::npos);
    EXPECT_NE(last.find("<B> Qty</B> : Total = 276 ; Average = 12 ; Minimum = 1 ; Maximum = 23"), std::string::npos)
        << last;
  }
}

// One page of the job, written alone under the base name, keeps its number in its heading.
TEST_F(ReportJobRun, TheCurrentPageAlone) {
  ReportJob one = job();
  one.allPages = false;
  one.currentPage = 2;
  CountdownProgress progress(std::nullopt, false);
  const ReportOutcome outcome = runReport(one, platform, progress, links);
  EXPECT_EQ(outcome.files, std::vector<std::string>{app / "Reports/stock.htm"});
  EXPECT_EQ(progress.steps, (std::vector<std::pair<int, int>>(3, {1, 1})));
  const std::string written = app.read("Reports/stock.htm");
  EXPECT_NE(written.find("Vol 2 of Stock"), std::string::npos);
  EXPECT_NE(written.find(">11</TD><TD><BGCOLOR=[White]>Item&nbsp;11<"), std::string::npos);
  EXPECT_EQ(written.find("Item&nbsp;10<"), std::string::npos);
}

// Page numbers are 16-bit: a job of more pages is refused, not taken for a report of none.
TEST_F(ReportJobRun, MorePagesThanANumberHoldsAreRefused) {
  ReportJob many = job();
  many.pages.resize(32768, many.pages.front());
  CountdownProgress progress(std::nullopt, false);
  const ReportOutcome outcome = runReport(many, platform, progress, links);
  EXPECT_NE(outcome.refusal.find("32767 pages"), std::string::npos) << outcome.refusal;
  EXPECT_TRUE(outcome.files.empty());
  EXPECT_TRUE(progress.steps.empty());
  EXPECT_FALSE(files.exists(app / "Reports"));
}

// A full disk at any step of writing the PDF leaves the earlier PDF as it was (or none) and the
// pages written; the run says so in a warning.
TEST_F(ReportJobRun, AFullDiskWhileThePdfIsWrittenLeavesTheEarlierPdf) {
  ReportJob j = job();
  j.print = false;
  j.output.pdf = true;
  const std::string pdf = app / "Reports/stock.pdf";
  CountdownProgress first(std::nullopt, false), progress(std::nullopt, false);
  (void)runReport(j, platform, first, links);  // the pages are there from now on, as in the runs below
  CountdownFileSystem counting(files, {});
  platform.files = &counting;
  (void)runReport(j, platform, progress, links);
  std::vector<int> pdfSteps;
  for (size_t i = 0; i < counting.operations().size(); ++i)
    if (counting.operations()[i].ends_with("stock.pdf")) pdfSteps.push_back(static_cast<int>(i) + 1);
  ASSERT_EQ(pdfSteps.size(), 3u) << "created, written and put in place";
  for (int at : pdfSteps) {
    (void)files.remove(pdf);
    app.write("Reports/stock.pdf", "earlier");
    CountdownFileSystem full(files, {.at = at, .cause = FaultCause::kDiskFull});
    platform.files = &full;
    CountdownProgress again(std::nullopt, false);
    const ReportOutcome outcome = runReport(j, platform, again, links);
    EXPECT_EQ(outcome.files.size(), 3u) << at;
    ASSERT_EQ(outcome.warnings.size(), 1u) << at;
    EXPECT_EQ(outcome.warnings[0].rfind("no PDF written: ", 0), 0u) << outcome.warnings[0];
    EXPECT_EQ(app.read("Reports/stock.pdf"), "earlier") << at;
  }
  platform.files = &files;
}

}  // namespace
}  // namespace quelo::testing
