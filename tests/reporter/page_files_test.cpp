// Page files under faults: a disk that fills up, a folder or a link in a page's place, and the
// Reports folder made by another run at the same moment. A page is always either as it was
// before the run or whole with the run's sections, and only whole pages are listed.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "fakes/report_fixture.h"
#include "reporter/report_form.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

class PageFiles : public ReportTest {
 protected:
  struct Outcome {
    bool done = false;
    std::vector<std::string> listed, errors;
  };
  // The 23-record report "name" (pages of 2, 2 and 1 sections) on a control that writes
  // through `files`.
  Outcome report(FileSystem& files) {
    Platform p = h->platform();
    p.files = &files;
    HeadlessSite site;
    HeadlessWindow window;
    auto control = ZeQuelo::create(p, site, window);
    EXPECT_TRUE(control->put("MaxRecsPerPage", Variant(int32_t{10})));
    Args args = autoArgs(products(23), "name");
    auto r = control->call("AutoZeReporter", args);
    const QueloReportForm& form = reportForm(p);
    Outcome o{r && r.value() == Variant(true), form.lastOutcome().files, form.lastOutcome().errors};
    control->terminate();
    return o;
  }
  std::string path(int page) const { return reports() + "name" + std::to_string(page) + ".htm"; }
  std::vector<std::string> contents() const { return {page("name1.htm"), page("name2.htm"), page("name3.htm")}; }
  void restore(const std::vector<std::string>& pages) const {
    for (int i = 0; i < 3; ++i) app.write("Reports/name" + std::to_string(i + 1) + ".htm", pages[i]);
  }
  std::vector<std::string> folderNames() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(reports())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// The disk fills up at the Nth page written (three in all, over an earlier report's pages):
// the pages before are whole and listed, the page being written and those after are as they
// were, the error names the page and the cause, and no temporary is left.
TEST_F(PageFiles, AFullDiskLeavesEveryPageAsItWasOrWhole) {
  ASSERT_TRUE(report(h->files).done);
  const std::vector<std::string> before = contents();
  ASSERT_TRUE(report(h->files).done);
  const std::vector<std::string> after = contents();
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE("disk full at write " + std::to_string(n));
    restore(before);
    DiskFullAtWrite disk(h->files, n);
    const Outcome o = report(disk);
    const int failing = n;
    EXPECT_FALSE(o.done);
    ASSERT_EQ(o.errors.size(), 1u) << "a full disk stops the run";
    EXPECT_NE(o.errors[0].find(path(failing)), std::string::npos) << o.errors[0];
    EXPECT_NE(o.errors[0].find("No space left on device"), std::string::npos) << o.errors[0];
    std::vector<std::string> listed;
    for (int p = 1; p < failing; ++p) listed.push_back(path(p));
    EXPECT_EQ(o.listed, listed);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(contents()[p - 1], p < failing ? after[p - 1] : before[p - 1]) << p;
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"name1.htm", "name2.htm", "name3.htm"}));
  }
}

// A page that alone cannot be written does not stop the others; a link planted at a page's
// path stops the run and nothing outside Reports is touched or made.
TEST_F(PageFiles, APageThatCannotBeWrittenIsReportedAndLeftAsItWas) {
  ScratchDir outside;
  outside.write("target", "outside");
  struct Case {
    const char* what;
    std::function<void(const std::string&)> plant;
    std::vector<int> written;
  };
  const std::vector<Case> cases = {
      {"a folder", [](const std::string& at) { fs::create_directory(at); }, {1, 3}},
      {"a link", [&](const std::string& at) { fs::create_symlink(outside / "target", at); }, {1}},
      {"a dangling link", [&](const std::string& at) { fs::create_symlink(outside / "made", at); }, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(reports());
    fs::create_directory(reports());
    c.plant(path(2));
    const Outcome o = report(h->files);
    EXPECT_FALSE(o.done);
    ASSERT_EQ(o.errors.size(), 1u);
    EXPECT_NE(o.errors[0].find(path(2)), std::string::npos) << o.errors[0];
    std::vector<std::string> listed;
    for (int p : c.written) listed.push_back(path(p));
    EXPECT_EQ(o.listed, listed);
    EXPECT_EQ(exists("name3.htm"), c.written.size() == 2);
    EXPECT_EQ(outside.read("target"), "outside");
    EXPECT_FALSE(fs::exists(outside / "made"));
  }
}

// The application path and the Reports folder may be links the user made.
TEST_F(PageFiles, LinkedApplicationAndReportsFoldersAreWrittenInto) {
  ScratchDir real;
  fs::create_directory(real / "Reports");
  fs::create_directory_symlink(real / "Reports", reports().substr(0, reports().size() - 1));
  ASSERT_TRUE(report(h->files).done);
  EXPECT_TRUE(fs::exists(real / "Reports/name3.htm"));

  ScratchDir linked;
  fs::create_directory_symlink(real.path(), linked / "app");
  sharedState().applicationPath = linked / "app/";
  fs::remove_all(real / "Reports");
  ASSERT_TRUE(report(h->files).done);
  EXPECT_TRUE(fs::exists(real / "Reports/name3.htm"));
}

// Another run makes the Reports folder between this run's look and its own attempt.
TEST_F(PageFiles, AReportsFolderMadeByAnotherRunMeanwhileIsUsed) {
  struct LosesTheRace : ForwardingFileSystem {
    using ForwardingFileSystem::ForwardingFileSystem;
    Status createDirectory(const std::string& path) override {
      (void)ForwardingFileSystem::createDirectory(path);
      return ForwardingFileSystem::createDirectory(path);
    }
  } racing(h->files);
  const Outcome o = report(racing);
  EXPECT_TRUE(o.done) << (o.errors.empty() ? "" : o.errors[0]);
  EXPECT_EQ(o.listed.size(), 3u);
}

}  // namespace
}  // namespace quelo::testing
