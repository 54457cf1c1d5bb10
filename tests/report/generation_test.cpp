// Whole automatic reports: page files, sections, progress events, cancel, appending.
#include "automation/text.h"
#include "data/recordset/row_source.h"
#include "fakes/report_fixture.h"
#include "report_forms/report_form.h"

namespace quelo::testing {
namespace {

// `n` records of one empty field, made as they are read: millions cost little memory.
class BlankRows : public RowSource {
 public:
  explicit BlankRows(int64_t n) : n_(n) {}
  Result<std::unique_ptr<RowStream>> run() const override {
    return std::unique_ptr<RowStream>(new Stream(n_));
  }
  std::string description() const override { return "blank rows"; }

 private:
  struct Stream : RowStream {
    explicit Stream(int64_t n) : left(n) {}
    const std::vector<FieldInfo>& fields() const override { return columns; }
    Result<bool> readRow(RowTable& table) override {
      if (left-- <= 0) return false;
      (void)table.appendRow();
      return true;
    }
    std::vector<FieldInfo> columns{{"Id", ado::adInteger, 4, ado::kNumberAttributes}};
    int64_t left;
  };
  int64_t n_;
};

class GenerationTest : public ReportTest {
 protected:
  // Records the page of every ReportStatus; cancels once `cancelAt` is reached.
  void watchStatus(int cancelAt = 0) {
    h->site.onEvent = [=, this](std::string_view name, Args& a) {
      if (name != "ReportStatus") return;
      statusPages.push_back(a[2].asInteger());
      totals.push_back(a[0].asInteger());
      if (cancelAt > 0 && a[2].asInteger() >= cancelAt) a[3] = Variant(true);
    };
  }
  std::vector<int> statusPages, totals;
};

// Fourteen pages: a line break before the link to page 13, left out with that link on page 13;
// a second report under another name in the same run links to its own pages.
TEST_F(GenerationTest, PageLinksOfALongReport) {
  setMaxRecs(5);
  ASSERT_TRUE(runAuto(autoArgs(products(70), "v")));
  for (const char* p : {"v1.htm", "v12.htm", "v13.htm", "v14.htm"})
    expectPage(std::string("long_report_") + p, p);
  ASSERT_TRUE(runAuto(autoArgs(products(10), "w")));
  expectPage("long_report_w2.htm", "w2.htm");
}

TEST_F(GenerationTest, TwentyThreeRecordsMakeThreeLinkedPages) {
  setMaxRecs(10);
  watchStatus();
  ASSERT_TRUE(runAuto(autoArgs(products(23), "name")));
  EXPECT_EQ(statusPages, (std::vector<int>{1, 1, 1, 2, 2, 2, 3}));  // N + 1 slots: 3, 3 and 1
  EXPECT_EQ(totals, std::vector<int>(7, 3));
  EXPECT_EQ(sections(page("name2.htm")).size(), 2u);
  EXPECT_FALSE(exists("name.htm"));
  expectGolden("three_pages_page1.htm", page("name1.htm"));
  expectGolden("three_pages_page3.htm", page("name3.htm"));
}

// A new page starts with the byte-order mark; a page appended to gets none.
TEST_F(GenerationTest, SecondReportUnderTheSameNameIsAppended) {
  ASSERT_TRUE(runAuto(autoArgs(products(3), "again")));
  const std::string once = page("again.htm");
  ASSERT_TRUE(once.starts_with(kUtf8Bom));
  ASSERT_TRUE(runAuto(autoArgs(products(3), "again")));
  EXPECT_EQ(page("again.htm"), once + once.substr(kUtf8Bom.size()));
}

// A run cancelled after its first page leaves neither its cancel nor its statistics to the next.
TEST_F(GenerationTest, ACancelledRunLeavesNothingToTheNextOne) {
  setMaxRecs(10);
  watchStatus(2);
  EXPECT_TRUE(runAuto(autoArgs(products(12), "first")));
  ASSERT_TRUE(exists("first1.htm"));
  watchStatus();
  EXPECT_TRUE(runAuto(autoArgs(products(3), "second")));
  expectPage("after_cancel.htm", "second.htm");
}

TEST_F(GenerationTest, BrowserAndPrinterFollowTheAction) {
  setMaxRecs(10);
  ASSERT_TRUE(runAuto(autoArgs(products(12), "shown", "Stock", 11)));
  // The browser first, then one print job of the rendered pages, in page order.
  const std::string url = "file://" + reports();
  EXPECT_EQ(h->shell.launches,
            (std::vector<FakeShell::Launch>{{"open", "", url + "shown1.htm", true},
                                            {"print", "", "shown.pdf", true}}));
  ASSERT_EQ(h->renderer.calls.size(), 1u);
  EXPECT_EQ(h->renderer.calls[0], (std::vector<PageToRender>{{url + "shown1.htm", "shown1.htm"},
                                                             {url + "shown2.htm", "shown2.htm"}}));
  EXPECT_EQ(h->shell.printed,
            (std::vector<std::string>{"%PDF-fake\n" + url + "shown1.htm shown1.htm\n" + url +
                                      "shown2.htm shown2.htm"}));
}

TEST_F(GenerationTest, CurrentPageOnlyWritesThePreviewedPageUnderTheBaseName) {
  setMaxRecs(10);
  Args args = autoArgs(products(23), "current");
  std::vector<Variant> values(Ra_AllPages, Variant::missing());
  values.push_back(Variant(false));  // the current page alone
  args[6] = settings(values);
  ASSERT_TRUE(runAuto(args));
  EXPECT_FALSE(exists("current1.htm"));
  expectGolden("current_page.htm", page("current.htm"));
}

// A typed name keeps only its last part, in the Reports folder; a blank name, or a word with a
// space that names no file, gives a default name.
TEST_F(GenerationTest, FileNamesNeverLeaveTheReportsFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"../escape", "escape.htm"},
      {"/tmp/elsewhere/x.htm", "x.htm.htm"},  // the upper-cased bare name has no ".htm"
      {"a/../../b", "b.htm"},
      {"sub\\dir\\y.asp", "y.asp.htm"},
      {"   ", "autogenrep.htm"},
      {"my report", "zereport.htm"}};
  for (const auto& [typed, file] : cases) {
    ASSERT_TRUE(runAuto(autoArgs(products(2), typed, ""))) << typed;
    EXPECT_TRUE(exists(file)) << typed;
  }
  EXPECT_NE(page("autogenrep.htm").find("Vol 1 of Auto-Generated Report<Br>"), std::string::npos);
  EXPECT_FALSE(h->files.exists(app.path() + "escape.htm"));
  EXPECT_FALSE(h->files.exists("/tmp/elsewhere"));
}

// Page numbers are 16-bit: a report of more pages is refused before anything is written, with
// the reason shown and kept for the caller; the automatic report fails.
TEST_F(GenerationTest, MorePagesThanCanBeNumberedAreRefused) {
  setMaxRecs(5);
  auto records = Recordset::open(std::make_shared<BlankRows>(6553401));
  ASSERT_TRUE(records);
  EXPECT_FALSE(runAuto(autoArgs(records.value(), "huge")));
  const std::string why =
      "Too many records! 6553401 records make 32768 pages of 200; a report holds at most 32767 "
      "pages.";
  EXPECT_EQ(reportForm(*h->component, h->platform()).lastOutcome().refusal, why);
  ASSERT_EQ(h->messageBox.shown.size(), 1u);
  EXPECT_EQ(h->messageBox.shown[0].prompt, why);
  EXPECT_FALSE(h->files.exists(reports()));
}

}  // namespace
}  // namespace quelo::testing
