// What the tests of a report over a failing source share: a report of 40 records in pages of 10
// made over an earlier report of the same name, and the Reports folder as it stands (every entry,
// temporaries too), so that "nothing changed" is one comparison.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "fakes/report_services.h"
#include "fakes/scratch_dir.h"
#include "report/report_api.h"

namespace quelo::testing {

class ReportFailure : public ::testing::Test, protected ReportServices {
 public:
  static constexpr int kRecords = 40;

 protected:
  varnikquelo::ReportResult make(varnikquelo::ReportSource source) {
    varnikquelo::ReportRequest r;
    r.source = std::move(source);
    r.fileName = "stock.htm";
    r.applicationPath = app.path();
    r.useSettings = true;
    return makeReport(r, platform);
  }

  // Every entry under the Reports folder, with the content of its files.
  std::map<std::string, std::string> folder() const {
    std::map<std::string, std::string> entries;
    const std::string reports = app / "Reports";
    if (std::filesystem::exists(reports))
      for (const auto& e : std::filesystem::recursive_directory_iterator(reports))
        entries[e.path().string()] =
            e.is_regular_file() ? app.read(e.path().string().substr(app.path().size())) : "/";
    return entries;
  }

  // `source(0)` reads every record; `source(n)` fails at record n. Made over an earlier report,
  // a source failing on row 2, on the first row of page 2 and in the middle of page 3 leaves the
  // folder as it was and answers the source's error, whose message holds `words`.
  void expectAllOrNothing(const std::function<varnikquelo::ReportSource(int)>& source,
                          const std::string& words) {
    std::filesystem::remove_all(app / "Reports");
    const varnikquelo::ReportResult earlier = make(source(0));
    ASSERT_TRUE(earlier.ok()) << earlier.error.message;
    ASSERT_EQ(earlier.pages.size(), 4u);
    const auto before = folder();
    for (int failAt : {2, 11, 25}) {
      SCOPED_TRACE("failing at record " + std::to_string(failAt));
      const varnikquelo::ReportResult result = make(source(failAt));
      EXPECT_EQ(result.error.code, varnikquelo::ReportErrorCode::SourceFailed);
      EXPECT_NE(result.error.message.find(words), std::string::npos) << result.error.message;
      EXPECT_TRUE(result.pages.empty());
      EXPECT_EQ(folder(), before);
    }
  }

  ScratchDir app;
};

}  // namespace quelo::testing
