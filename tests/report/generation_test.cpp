// Whole automatic reports: page files, sections, progress events, cancel, appending, and what
// the page writer puts into a page (header material, statistics and every kind of cell).
#include <limits>

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

// A run cancelled at its second page leaves neither its cancel nor its statistics to the next,
// whose twenty-three records make three linked pages.
TEST_F(GenerationTest, ACancelledRunLeavesNothingToTheNextOne) {
  setMaxRecs(10);
  watchStatus(2);
  EXPECT_TRUE(runAuto(autoArgs(products(12), "first")));
  ASSERT_TRUE(exists("first1.htm"));
  statusPages.clear();
  totals.clear();
  watchStatus();
  ASSERT_TRUE(runAuto(autoArgs(products(23), "name")));
  EXPECT_EQ(statusPages, (std::vector<int>{1, 1, 1, 2, 2, 2, 3}));  // N + 1 slots: 3, 3 and 1
  EXPECT_EQ(totals, std::vector<int>(7, 3));
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

TEST_F(ReportTest, OnePageWithEveryAdvancedSetting) {
  setMaxRecs(20);
  Args args = autoArgs(products(12), "full", "Full report");
  args[6] =
      settings({Variant("Quarterly stock"), Variant("Made by ACME"), Variant(true), Variant(true),
                Variant("First line\r\nsecond  line"), Variant("logo.png"), Variant("sign.png"),
                Variant("www.acme.example"), Variant("sales@acme.example"), Variant(true)});
  args[7] = choices({{"Name", 1}, {"Price", 2}, {"Qty", 2}});
  ASSERT_TRUE(runAuto(args));
  expectGolden("one_page_all_settings.htm", page("full.htm"));
}

// Page 1's header offers the website when it has a "." from position 2 on and another two
// characters after it, and the e-mail address when it has an "@" from position 2 on and a "."
// from position 4 on, wherever the first "." stands.
TEST_F(ReportTest, HeaderAddressesFollowTheDotAndAtRule) {
  const std::tuple<std::string, std::string, bool> cases[] = {
      // website, e-mail, both shown
      {"www.acme.example", "j.doe@example.com", true},
      {".www.example.org", "jo.x@y.org", true},
      {"example.org", "@x.org", false},
      {"a..b", "a@.b", false},
      {"a.b.c", "a@@b.c", true}};
  for (const auto& [website, email, shown] : cases) {
    std::vector<Variant> values(Ra_Website, Variant::missing());
    values.insert(values.end(), {Variant(website), Variant(email)});
    ASSERT_TRUE(runAuto(with(autoArgs(products(1), website), {{6, settings(values)}})));
    const std::string text = page(website + ".htm");
    EXPECT_EQ(text.find("<A HREF='" + website + "'>") != std::string::npos, shown) << website;
    EXPECT_EQ(text.find("<A HREF=mailto:" + email + ">") != std::string::npos, shown) << email;
  }
}

// Twelve sections on a page: each links to the eleven others, a line break before sections 10
// and 19 whether or not the section's own link is left out there. Field choices pick the output
// and the sums.
TEST_F(ReportTest, SectionLinksOfALongPageAndFieldChoices) {
  setMaxRecs(60);
  ASSERT_TRUE(runAuto(autoArgs(products(58), "long")));
  expectPage("section_links.htm", "long.htm");
  ASSERT_TRUE(
      runAuto(with(autoArgs(products(4), "chosen"), {{7, choices({{"Price", 2}, {"qty", 0}})}})));
  expectPage("field_choices.htm", "chosen.htm");
}

// Statistics count a text's leading decimal number ("&H10" counts 0; a number column may hold
// text, as SQLite's do; "Infinity" has no digits and counts 0), and a sum beyond the range of a
// double reads "Overflow".
TEST_F(ReportTest, StatisticsOfTextNumbersAndOfTheLargestNumbers) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::vector<Variant> cases[] = {
      {Variant("&H10"), Variant("&O7"), Variant("5")},
      {Variant(kMax), Variant(kMax)},
      {Variant(-kMax), Variant(kMax), Variant(std::numeric_limits<double>::infinity())}};
  for (const auto& values : cases) {
    std::vector<std::vector<Variant>> rows;
    for (const Variant& v : values) rows.push_back({v});
    const std::string name = "statistics_edge" + std::to_string(&values - cases) + ".htm";
    ASSERT_TRUE(
        runAuto(with(autoArgs(table({{"N", 5, 8, 118}}, rows), name), {{7, choices({{"N", 2}})}})));
    expectPage(name, name);
  }
}

// Even after a run that lost its page: what a run could not write is that run's failure alone.
TEST_F(ReportTest, ChoicesThatDropEveryFieldWriteNothingButSucceed) {
  ASSERT_TRUE(h->files.createDirectory(reports()));
  ASSERT_TRUE(h->files.createDirectory(reports() + "lost.htm"));
  EXPECT_FALSE(runAuto(autoArgs(products(4), "lost")));
  EXPECT_TRUE(runAuto(with(autoArgs(products(4), "nothing"),
                           {{7, choices({{"Name", 0}, {"Price", 0}, {"Qty", -1}})}})));
  EXPECT_FALSE(exists("nothing.htm"));
}

TEST_F(ReportTest, EveryKindOfCell) {
  ASSERT_TRUE(h->files.createDirectory(app.path() + "pics"));
  // A 2 x 3 PNG: the header is all the preview needs.
  app.write("pics/cat.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x02\0\0\0\x03", 24));
  const std::vector<Variant> blob{Variant(int16_t{1})};
  auto rs = table({{"Title", 202, 80, 102},
                   {"Link", 203, 1000, 230},
                   {"Photo", 202, 80, 102},
                   {"Note", 203, 1000, 102}},
                  {{Variant("<b>bold</b> & \"quoted\""), Variant("Home page#http://acme.example/#"),
                    Variant("cat.png"), Variant("Ωmega ñ 日本")},
                   {Variant::null(), Variant("#sales@acme.example#"), Variant("missing.png"),
                    Variant("C:\\My Docs\\a.txt")},
                   {Variant("plain#not#link"), Variant("no markers"), Variant("  "),
                    Variant(VariantArray::vector(blob))}});
  ASSERT_TRUE(runAuto(
      with(autoArgs(rs, "cells"), {{1, Variant("Photo")}, {2, Variant(app.path() + "pics")}})));
  expectPage("every_cell.htm", "cells.htm");
}

}  // namespace
}  // namespace quelo::testing
