// What the page writer puts into a page: header material, statistics and every kind of cell.
#include <limits>

#include "fakes/report_fixture.h"

namespace quelo::testing {
namespace {

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
  EXPECT_EQ(sections(page("long.htm")).size(), 12u);
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
