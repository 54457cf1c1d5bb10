// Page files under faults: a file operation that fails, a folder or a link in a page's place,
// and the Reports folder made by another run at the same moment. A page is always either as it
// was before the run or whole with the run's sections, and only whole pages are listed.
#include <filesystem>
#include <functional>

#include "fakes/countdown_file_system.h"
#include "fakes/folder_files.h"
#include "fakes/report_fixture.h"
#include "report_forms/report_form.h"

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
    auto control = ZeQuelo::create(h->component, p, site, window);
    EXPECT_TRUE(control->put("MaxRecsPerPage", Variant(int32_t{10})));
    Args args = autoArgs(products(23), "name");
    auto r = control->call("AutoZeReporter", args);
    const QueloReportForm& form = reportForm(*h->component, p);
    Outcome o{r && r.value() == Variant(true), form.lastOutcome().files, form.lastOutcome().errors};
    control->terminate();
    return o;
  }
  std::string path(int page) const { return reports() + "name" + std::to_string(page) + ".htm"; }
  FolderFiles pages() const { return filesUnder(reports()); }
  void setPages(const FolderFiles& files) const { setFilesUnder(reports(), files); }
};

// The Nth file operation of a run fails, for every N the run has: once as a full disk, and from
// then on as a refused write; over an earlier report's pages and into a new folder. A run that
// fails says so, leaves every page as it was or whole, lists only whole pages and leaves no
// temporary; one that carries on gives the pages of a run without faults; a rerun adds its
// sections whole to every page.
TEST_F(PageFiles, AFaultAtAnyFileOperationLeavesEveryPageAsItWasOrWhole) {
  const Fault kinds[] = {{.cause = FaultCause::kDiskFull},
                         {.fromThenOn = true, .cause = FaultCause::kPermissionDenied}};
  for (const bool earlierReport : {true, false}) {
    fs::remove_all(reports());
    if (earlierReport) {
      ASSERT_TRUE(report(h->files).done);
    }
    const FolderFiles before = pages();
    CountdownFileSystem counting(h->files, {});
    ASSERT_TRUE(report(counting).done);
    const FolderFiles after = pages();
    ASSERT_TRUE(report(h->files).done);
    const FolderFiles twice = pages();
    const int count = static_cast<int>(counting.operations().size());
    for (Fault fault : kinds) {
      for (fault.at = 1; fault.at <= count; ++fault.at) {
        SCOPED_TRACE((earlierReport ? "over an earlier report, " : "into a new folder, ") +
                     counting.operations()[fault.at - 1] +
                     (fault.fromThenOn ? " and on" : " once"));
        setPages(before);
        CountdownFileSystem faulty(h->files, fault);
        const Outcome o = report(faulty);
        const FolderFiles left = pages();
        if (o.done) {
          EXPECT_EQ(left, after);
        } else {
          EXPECT_FALSE(o.errors.empty());
          for (const auto& [name, text] : left) {
            ASSERT_TRUE(after.count(name)) << name;
            EXPECT_TRUE(text == after.at(name) || (before.count(name) && text == before.at(name)))
                << name;
          }
          for (const std::string& listed : o.listed) {
            const std::string name = fs::path(listed).filename();
            EXPECT_EQ(left.at(name), after.at(name));
          }
        }
        ASSERT_TRUE(report(h->files).done);
        for (const auto& [name, text] : pages())
          EXPECT_EQ(text, left.count(name) && left.at(name) == after.at(name) ? twice.at(name)
                                                                              : after.at(name))
              << name;
      }
    }
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
      {"a dangling link",
       [&](const std::string& at) { fs::create_symlink(outside / "made", at); },
       {1}},
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
  h->component->applicationPath = linked / "app/";
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
