// The typed reporting API: a request in, pages or a reason out, with the caller's progress
// callback cancelling the run.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "reporter/report_api.h"

namespace quelo::testing {
namespace {

using varnikquelo::ReportErrorCode;
using varnikquelo::ReportRequest;
using varnikquelo::ReportResult;
using varnikquelo::ReportSource;

class ReportApi : public ::testing::Test, protected ReportServices {
 protected:
  ReportApi() {
    // 12 records: pages of 5, 5 and 2.
    std::string csv = "Name,Qty\n";
    for (int i = 1; i <= 12; ++i) csv += "Item " + std::to_string(i) + "," + std::to_string(i) + "\n";
    app.write("stock.csv", csv);
    app.write("empty.csv", "Name,Qty\n");
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
  r.action = varnikquelo::ReportAction::Print;
  const ReportResult result = make(r);
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_EQ(result.pages, (std::vector<std::string>{page(1), page(2), page(3)}));
  const std::string last = app.read("Reports/stock3.htm");
  EXPECT_NE(last.find("Item&nbsp;12<"), std::string::npos);
  EXPECT_NE(last.find("<B> Qty</B> : Total = 78"), std::string::npos) << last;
  EXPECT_EQ(shell.launches.size(), 3u);  // every page printed
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
      {"no source", [](ReportRequest& r) { r.source = ReportSource(); }, ReportErrorCode::NoSource, "no source"},
      {"missing file", [&](ReportRequest& r) { r.source = ReportSource::csv(app / "none.csv"); },
       ReportErrorCode::SourceFailed, "none.csv"},
      {"bad query", [&](ReportRequest& r) { r.source = ReportSource::sqlite(app / "none.db", "SELEC"); },
       ReportErrorCode::SourceFailed, ""},
      {"no records", [&](ReportRequest& r) { r.source = ReportSource::csv(app / "empty.csv"); },
       ReportErrorCode::NoRecords, "no record"},
      {"unknown field", [](ReportRequest& r) { r.fields = {"Name", "Price"}; }, ReportErrorCode::UnknownField, "Price"},
      {"unknown sum", [](ReportRequest& r) { r.sums = {"Total"}; }, ReportErrorCode::UnknownField, "Total"},
      {"unknown picture field", [](ReportRequest& r) { r.pictures = {{"Photo", "/tmp"}}; },
       ReportErrorCode::UnknownField, "Photo"},
      {"page size", [](ReportRequest& r) { r.recordsPerPage = 0; }, ReportErrorCode::BadRequest, "at least 1"},
      {"file name", [](ReportRequest& r) { r.fileName = "  "; }, ReportErrorCode::BadRequest, "file name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportRequest r = request();
    c.change(r);
    const ReportResult result = make(r);
    EXPECT_EQ(result.error.code, c.code);
    EXPECT_NE(result.error.message.find(c.reason), std::string::npos) << result.error.message;
    EXPECT_TRUE(result.pages.empty());
    EXPECT_FALSE(files.exists(app / "Reports"));
  }
}

// The callback sees every step and cancels by answering false; the pages written before are kept
// or deleted as asked.
TEST_F(ReportApi, TheProgressCallbackCancels) {
  for (bool deleteOnCancel : {false, true}) {
    SCOPED_TRACE(deleteOnCancel);
    for (int p = 1; p <= 3; ++p) (void)files.remove(page(p));
    ReportRequest r = request();
    std::vector<int> pagesSeen;
    r.progress = [&](const varnikquelo::ReportStep& step) {
      pagesSeen.push_back(step.page);
      EXPECT_EQ(step.totalPages, 3);
      return step.page < 2;
    };
    r.deleteOnCancel = deleteOnCancel;
    const ReportResult result = make(r);
    EXPECT_EQ(result.error.code, ReportErrorCode::Cancelled);
    EXPECT_EQ(pagesSeen, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(result.pages, deleteOnCancel ? std::vector<std::string>{} : std::vector<std::string>{page(1)});
    EXPECT_EQ(files.exists(page(1)), !deleteOnCancel);
    EXPECT_FALSE(files.exists(page(2)));
  }
}

}  // namespace
}  // namespace quelo::testing
