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

// A .tsv file, whatever the case of its extension, is read with tabs unless --delimiter says
// otherwise; a tab is named as \t or TAB. (Other options: the tests of quelo report.)
TEST(ReportOptions, TheDelimiterIsTheOptionsOrTheExtensions) {
  const std::pair<Words, char> cases[] = {
      {{"--csv", "a.TSV"}, '\t'},
      {{"--csv", "a.tsv", "--delimiter", ","}, ','},
      {{"--csv", "a", "--delimiter", "\\t"}, '\t'},
      {{"--csv", "a", "--delimiter=TAB"}, '\t'},
  };
  for (const auto& [args, delimiter] : cases)
    EXPECT_EQ(parsed(args).csv.delimiter, delimiter) << args.back();
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
      {250, 500, 10, 80,
       "[" + std::string(21, '#') + std::string(21, '-') + "]  250/500 pages  0:10  25.0 pages/s"},
      {3, 3, 3725.5, 60, "[" + std::string(24, '#') + "]  3/3 pages  1:02:05  0.0 pages/s"},
      {7, 0, 1, 40, "[" + std::string(10, '-') + "]  0/0 pages  0:01  0.0 pages/s"},
      {9, 4, 1, 200, "[" + std::string(50, '#') + "]"},
      {-2, 4, 1, 10, "[" + std::string(10, '-') + "]"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(progressLine(c.done, c.total, c.seconds, c.width).substr(0, c.line.size()), c.line)
        << c.line;
}

}  // namespace
}  // namespace quelo::cli
