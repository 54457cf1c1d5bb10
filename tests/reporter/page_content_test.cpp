// What the page writer puts into a page: header material, statistics and every kind of cell.
#include <limits>

#include "fakes/report_fixture.h"

namespace quelo::testing {
namespace {

TEST_F(ReportTest, OnePageWithEveryAdvancedSetting) {
  setMaxRecs(20);
  Args args = autoArgs(products(12), "full", "Full report");
  args[6] = settings({Variant("Quarterly stock"), Variant("Made by ACME"), Variant(true), Variant(true),
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
  struct Case {
    const char* website;
    const char* email;
    bool websiteShown, emailShown;
  };
  const Case cases[] = {
      {"www.acme.example", "j.doe@example.com", true, true},
      {".www.example.org", "jo.x@y.org", true, true},
      {"example.org", "@x.org", false, false},
      {"a..b", "a@.b", false, false},
      {"a.b.c", "a@@b.c", true, true},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string file = "addr" + std::to_string(++n);
    Args args = autoArgs(products(1), file);
    std::vector<Variant> values(10, Variant::missing());
    values[Ra_Website] = Variant(c.website);
    values[Ra_Email] = Variant(c.email);
    args[6] = settings(values);
    ASSERT_TRUE(runAuto(args));
    const std::string text = page(file + ".htm");
    EXPECT_EQ(text.find("<A HREF='" + std::string(c.website) + "'>") != std::string::npos, c.websiteShown) << c.website;
    EXPECT_EQ(text.find("<A HREF=mailto:" + std::string(c.email) + ">") != std::string::npos, c.emailShown) << c.email;
  }
}

// Twelve sections on a page: each links to the eleven others, a line break before sections 10
// and 19 whether or not the section's own link is left out there.
TEST_F(ReportTest, SectionLinksOfALongPage) {
  setMaxRecs(60);
  Args args = autoArgs(products(58), "long");
  ASSERT_TRUE(runAuto(args));
  const auto docs = sections(page("long.htm"));
  ASSERT_EQ(docs.size(), 12u);
  auto link = [](int i) { return "<A HRef='#Section" + std::to_string(i) + "'>Section" + std::to_string(i) + "</A>..."; };
  EXPECT_NE(docs[0].find("<P>  </P>" + link(1)), std::string::npos);
  EXPECT_NE(docs[0].find(link(9) + "<Br>" + link(10) + link(11) + "<P>  </P>"), std::string::npos) << docs[0];
  EXPECT_NE(docs[1].find("</FONT>" + link(2)), std::string::npos);  // its own link left out
  EXPECT_NE(docs[9].find(link(8) + "<Br>" + link(10) + link(11) + "<P>  </P>"), std::string::npos) << docs[9];
  EXPECT_NE(docs[10].find(link(9) + "<Br>" + link(11) + "<P>  </P>"), std::string::npos) << docs[10];
  EXPECT_NE(docs[11].find(link(9) + "<Br>" + link(10) + "<P>  </P>"), std::string::npos) << docs[11];
  for (size_t s = 1; s < docs.size(); ++s) EXPECT_EQ(docs[s].find(link(static_cast<int>(s))), std::string::npos);
}

TEST_F(ReportTest, FieldChoicesPickOutputAndSums) {
  Args args = autoArgs(products(4), "chosen");
  args[7] = choices({{"Price", 2}, {"qty", 0}});
  ASSERT_TRUE(runAuto(args));
  const std::string text = page("chosen.htm");
  EXPECT_NE(text.find("<TR><TH>Name</TH><TH>Price</TH></TR>"), std::string::npos);
  EXPECT_NE(text.find("Sum of Price = 12.5"), std::string::npos);
  EXPECT_EQ(text.find("Qty"), std::string::npos);
}

// Statistics count a text's leading decimal number ("&H10" counts 0; a number column may hold
// text, as SQLite's do; "Infinity" has no digits and counts 0), and a sum beyond the range of a
// double reads "Overflow".
TEST_F(ReportTest, StatisticsOfTextNumbersAndOfTheLargestNumbers) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const struct {
    std::vector<Variant> values;
    std::string sum, overall;
  } cases[] = {
      {{Variant("&H10"), Variant("&O7"), Variant("5")},
       "Sum of N = 5 <Br>",
       "Total = 5 ; Average = 1.66666666666667 ; Minimum = 0 ; Maximum = 5 <Br>"},
      {{Variant(kMax), Variant(kMax)},
       "Sum of N = Overflow <Br>",
       "Total = Overflow ; Average = Overflow ; Minimum = 1.79769313486231E+308 ; Maximum = "
       "1.79769313486231E+308 <Br>"},
      {{Variant(-kMax), Variant(kMax), Variant(std::numeric_limits<double>::infinity())},
       "Sum of N = 0 <Br>",
       "Total = 0 ; Average = 0 ; Minimum = -1.79769313486231E+308 ; Maximum = "
       "1.79769313486231E+308 <Br>"},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<Variant>> rows;
    for (const Variant& v : c.values) rows.push_back({v});
    const std::string name = "edge" + std::to_string(&c - cases) + ".htm";
    Args args = autoArgs(table({{"N", 5, 8, 118}}, rows), name);
    args[7] = choices({{"N", 2}});
    ASSERT_TRUE(runAuto(args));
    const std::string text = page(name);
    EXPECT_NE(text.find(c.sum), std::string::npos) << text;
    EXPECT_NE(text.find(c.overall), std::string::npos) << text;
  }
}

// Even after a run that lost its page: what a run could not write is that run's failure alone.
TEST_F(ReportTest, ChoicesThatDropEveryFieldWriteNothingButSucceed) {
  ASSERT_TRUE(h->files.createDirectory(reports()));
  ASSERT_TRUE(h->files.createDirectory(reports() + "lost.htm"));
  Args lost = autoArgs(products(4), "lost");
  EXPECT_FALSE(runAuto(lost));
  Args args = autoArgs(products(4), "nothing");
  args[7] = choices({{"Name", 0}, {"Price", 0}, {"Qty", -1}});
  EXPECT_TRUE(runAuto(args));
  EXPECT_FALSE(exists("nothing.htm"));
}

TEST_F(ReportTest, EveryKindOfCell) {
  ASSERT_TRUE(h->files.createDirectory(app.path() + "pics"));
  // A 2 x 3 PNG: the header is all the preview needs.
  app.write("pics/cat.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x02\0\0\0\x03", 24));
  const std::vector<Variant> blob{Variant(int16_t{1})};
  auto rs = table({{"Title", 202, 80, 102}, {"Link", 203, 1000, 230}, {"Photo", 202, 80, 102}, {"Note", 203, 1000, 102}},
                  {{Variant("<b>bold</b> & \"quoted\""), Variant("Home page#http://acme.example/#"), Variant("cat.png"),
                    Variant("Ωmega ñ 日本")},
                   {Variant::null(), Variant("#sales@acme.example#"), Variant("missing.png"), Variant("C:\\My Docs\\a.txt")},
                   {Variant("plain#not#link"), Variant("no markers"), Variant("  "), Variant(VariantArray::vector(blob))}});
  Args args = autoArgs(rs, "cells");
  args[1] = Variant("Photo");
  args[2] = Variant(app.path() + "pics");
  ASSERT_TRUE(runAuto(args));
  const std::string text = page("cells.htm");
  std::string portable = text;  // the scratch folder differs from run to run
  for (size_t at; (at = portable.find(app.path())) != std::string::npos;) portable.replace(at, app.path().size(), "/APP/");
  expectGolden("every_cell.htm", portable);
}

TEST_F(ReportTest, ReportsFolderThatCannotBeWrittenFailsTheReport) {
  app.write("Reports", "a file where the folder should be");
  Args args = autoArgs(products(3), "blocked");
  EXPECT_FALSE(runAuto(args));
  EXPECT_EQ(app.read("Reports"), "a file where the folder should be");
}

}  // namespace
}  // namespace quelo::testing
