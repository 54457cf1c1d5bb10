// The arguments that 'quelo report' builds for AutoZeReporter from its options, and its
// progress line.
#include "report_options.h"

#include <gtest/gtest.h>

#include "progress_bar.h"

namespace quelo::cli {
namespace {

ReportOptions parsed(const Words& args) {
  auto o = parseReportOptions(args);
  EXPECT_TRUE(o) << (o ? "" : o.error().message);
  return o ? std::move(o).value() : ReportOptions{};
}

TEST(ReportOptions, SettingsFillTheirSlotsOfATenElementArray) {
  const ReportOptions o = parsed(
      {"--setting", "ra_footer=Bye", "--setting=Ra_AllPages=false", "--setting", "Ra_Header=a=b"});
  ASSERT_TRUE(o.forFutureUse.isArray());
  const auto& array = *o.forFutureUse.asArray();
  ASSERT_EQ(array.dimensions(), 1);
  EXPECT_EQ(array.lbound(1), 0);
  std::vector<Variant> slots(10, Variant::missing());  // a setting not given is missing, not empty
  slots[0] = Variant("a=b"), slots[1] = Variant("Bye"), slots[9] = Variant("false");
  EXPECT_TRUE(array.elements() == slots);
}

TEST(ReportOptions, SourcesValuesAndFlags) {
  const ReportOptions o =
      parsed({"--postgres", "dbname=shop", "--query", "SELECT 1", "--action", "11", "--max-recs",
              "32767", "--cancel-at-page", "3", "--delete-on-cancel", "--quiet", "--file", "",
              "--title", "-x-", "--company", " Torvel "});
  EXPECT_EQ(o.source, SourceKind::Postgres);
  EXPECT_EQ(o.location, "dbname=shop");
  EXPECT_EQ(o.query, "SELECT 1");
  EXPECT_EQ(o.action, 11);
  EXPECT_EQ(o.maxRecs, 32767);
  EXPECT_EQ(o.cancelAtPage, 3);
  EXPECT_TRUE(o.deleteOnCancel && o.quiet);
  EXPECT_EQ(o.fileName, Variant(""));
  EXPECT_EQ(o.title, Variant("-x-"));
  EXPECT_EQ(o.company, " Torvel ");
}

TEST(ReportOptions, PageOutputAndDelimiters) {
  const ReportOptions o = parsed({"--csv", "a.csv", "--escape-values", "--copy-pictures", "--replace"});
  EXPECT_TRUE(o.output.escapeValues && o.output.copyPictures && o.output.replaceEarlier);
  EXPECT_EQ(o.csv.delimiter, ',');
  const std::pair<Words, char> cases[] = {
      {{"--csv", "a.TSV"}, '\t'},          {{"--csv", "a.tsv", "--delimiter", ","}, ','},
      {{"--csv", "a", "--delimiter", "\\t"}, '\t'}, {{"--csv", "a", "--delimiter=TAB"}, '\t'},
      {{"--csv", "a", "--delimiter", ";"}, ';'},
  };
  for (const auto& [args, delimiter] : cases) EXPECT_EQ(parsed(args).csv.delimiter, delimiter) << args.back();
}

TEST(ReportOptions, GraphicFoldersBecomeAbsolute) {
  const ReportOptions o = parsed({"--graphic-folder", "/srv/pics, ,rel/dir"});
  const std::string folders = o.graphicFolder.asString();
  EXPECT_EQ(folders.rfind("/srv/pics/,,/", 0), 0u) << folders;
  EXPECT_TRUE(folders.ends_with("/rel/dir/")) << folders;
}

// The bar takes what the counts leave of the width (less one column for the cursor); odd counts
// stay inside it.
TEST(ProgressLine, CountsTimeAndRate) {
  const struct {
    int done, total;
    double seconds;
    int width;
    std::string line;
  } cases[] = {
      {0, 500, 0, 80, "[" + std::string(47, '-') + "]  0/500 pages  0:00  - pages/s"},
      {250, 500, 10, 80, "[" + std::string(21, '#') + std::string(21, '-') + "]  250/500 pages  0:10  25.0 pages/s"},
      {3, 3, 3725.5, 60, "[" + std::string(24, '#') + "]  3/3 pages  1:02:05  0.0 pages/s"},
      {7, 0, 1, 40, "[" + std::string(10, '-') + "]  0/0 pages  0:01  0.0 pages/s"},
      {9, 4, 1, 200, "[" + std::string(50, '#') + "]"},
      {-2, 4, 1, 10, "[" + std::string(10, '-') + "]"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(progressLine(c.done, c.total, c.seconds, c.width).substr(0, c.line.size()), c.line) << c.line;
}

}  // namespace
}  // namespace quelo::cli
