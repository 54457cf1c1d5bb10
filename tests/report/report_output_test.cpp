// How a report writes its pages beyond the classic format: addresses that survive blanks and "#",
// pictures copied beside the pages, values escaped, earlier pages replaced, and a word about
// whatever could not be done as asked.
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "automation/text.h"
#include "fakes/report_fixture.h"
#include "report/report_document.h"
#include "report_forms/report_form.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

// Bytes that start as a PNG picture does.
std::string png(const std::string& text) {
  return "\x89PNG\r\n\x1A\n" + text;
}

class ReportOutputTest : public ReportTest {
 protected:
  void SetUp() override {
    fs::create_directories(app / "my pics/#1");
    fs::create_directories(app / "other");
    app.write("my pics/#1/cat 1.png", png("first cat"));
    app.write("other/cat 1.png", png("second cat"));
    app.write("other/dog.png", png("dog"));
  }
  // What the report form's last run wrote but not as asked.
  const std::vector<std::string>& warnings() {
    return reportForm(*h->component, h->platform()).lastOutcome().warnings;
  }
  // Two picture fields in two folders; the same picture twice and a missing one.
  Args pictureArgs(const std::string& file, Variant settings = Variant::missing()) {
    auto rs = table({{"Photo", 202, 80, 102}, {"Other", 202, 80, 102}, {"Path", 202, 80, 102}},
                    {{Variant("cat 1.png"), Variant("cat 1.png"), Variant("C:\\My Docs\\a.txt")},
                     {Variant("cat 1.png"), Variant("dog.png"), Variant("x")},
                     {Variant("gone.png"), Variant("dog.png"), Variant("y")}});
    return with(autoArgs(rs, file), {{1, Variant("Photo,Other")},
                                     {2, Variant(app / "my pics/#1," + app / "other")},
                                     {6, settings}});
  }
};

TEST_F(ReportOutputTest, PicturePathsAreEncodedAndMissingOnesNamed) {
  // A drive path is read from the current folder, where a folder stands for the drive.
  fs::create_directories(app / "C:/My Docs");
  app.write("C:/My Docs/a.txt", "");
  const fs::path before = fs::current_path();
  fs::current_path(app.path());
  const bool done = runAuto(pictureArgs("pics"));
  fs::current_path(before);
  ASSERT_TRUE(done);
  expectPage("encoded_picture_paths.htm", "pics.htm");
  EXPECT_EQ(warnings(), std::vector<std::string>{"picture of field Photo missing: " + app.path() +
                                                 "my pics/#1/gone.png"});
}

TEST_F(ReportOutputTest, CopiedPicturesAreReferredToRelativelyOncePerPicture) {
  fs::create_directories(app / "Reports/pictures");
  app.write("Reports/pictures/dog.png", png("dog"));  // the same picture, copied by an earlier run
  app.write("outside.png", "keep me");
  fs::create_symlink(app / "outside.png", app / "Reports/pictures/cat 1-2.png");  // planted
  std::vector<Variant> logo(Ra_Logo, Variant::missing());
  logo.insert(logo.end(), {Variant(app / "other/dog.png"), Variant(app / "gone-signature.png")});
  const auto result = makeAutomatic(pictureArgs("copies", settings(logo)), {.copyPictures = true});
  ASSERT_TRUE(result.ok());
  expectPage("copied_picture_paths.htm",
             "copies.htm");  // "cat 1-3.png": another picture, same name
  EXPECT_EQ(app.read("Reports/pictures/cat 1.png"), png("first cat"));
  EXPECT_EQ(app.read("Reports/pictures/cat 1-3.png"), png("second cat"));
  EXPECT_EQ(app.read("outside.png"), "keep me");
  EXPECT_FALSE(fs::exists(app / "Reports/pictures/dog-2.png"));
  EXPECT_EQ(result.warnings,
            (std::vector<std::string>{
                "picture of field Photo missing: " + app.path() + "my pics/#1/gone.png",
                "picture of field Signature missing: " + app / "gone-signature.png"}));
}

TEST_F(ReportOutputTest, ACopiesFolderThatIsALinkIsNotWrittenThrough) {
  fs::create_directories(app / "Reports");
  fs::create_directories(app / "elsewhere");
  fs::create_directory_symlink(app / "elsewhere", app / "Reports/pictures");
  const auto result = makeAutomatic(pictureArgs("linked"), {.copyPictures = true});
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(fs::is_empty(app / "elsewhere"));
  const std::string dog = app.path() + "other/dog.png";
  EXPECT_NE(page("linked.htm").find("<A Href=" + dog + "> <img src = " + dog + " border=0"),
            std::string::npos);
  ASSERT_EQ(result.warnings.size(), 2u);
  EXPECT_EQ(result.warnings[0],
            "pictures not copied: " + reports() + "pictures is a symbolic link");
}

TEST_F(ReportOutputTest, EscapedValuesShowMarkupAsText) {
  auto rs = table(
      {{"<i>Name</i>", 202, 80, 102}, {"Link", 203, 1000, 230}},
      {{Variant("a<b & <script>alert(1)</script>"), Variant("x'><script>#http://e.example/#")}});
  ASSERT_TRUE(makeAutomatic(autoArgs(rs, "escaped"), {.escapeValues = true}).ok());
  expectPage("escaped_values.htm", "escaped.htm");
}

TEST_F(ReportOutputTest, ReplaceRemovesOnlyTheEarlierPagesOfTheSameName) {
  setMaxRecs(5);
  ASSERT_TRUE(runAuto(autoArgs(products(12), "stock")));  // stock1.htm to stock3.htm
  for (const char* other : {"stock.htm", "stock9.htm", "stock.txt", "stock01.htm", "stocks1.htm"})
    app.write(std::string("Reports/") + other, "other");
  app.write("outside.htm", "keep me");
  fs::create_symlink(app / "outside.htm", app / "Reports/stock4.htm");
  fs::create_directories(app / "Reports/stock5.htm");
  ASSERT_TRUE(makeAutomatic(autoArgs(products(7), "stock"), {.replaceEarlier = true}).ok());
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(reports())) left.insert(e.path().filename());
  EXPECT_EQ(left, (std::set<std::string>{"stock1.htm", "stock2.htm", "stock.txt", "stock01.htm",
                                         "stocks1.htm", "stock5.htm"}));
  const std::string first = page("stock1.htm");  // replaced, not appended to: one section
  EXPECT_EQ(first.find("\"\r\n"), first.size() - 3);
  EXPECT_EQ(app.read("outside.htm"), "keep me");
}

// The browser first, then one print job of the rendered pages, in page order; a browser or a
// printer that fails is named.
TEST_F(ReportOutputTest, ABrowserOrPrinterThatFailsIsNamed) {
  setMaxRecs(10);
  ASSERT_TRUE(runAuto(autoArgs(products(12), "shown", "Stock", 11)));
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
  EXPECT_TRUE(warnings().empty());

  h->shell.failOpens = h->shell.failStarts = 3;
  h->shell.failPrints = 1;
  ASSERT_TRUE(runAuto(autoArgs(products(3), "shown", "Stock", 11)));
  ASSERT_EQ(warnings().size(), 2u);
  EXPECT_EQ(warnings()[0], "no browser could show " + reports() + "shown.htm");
  EXPECT_EQ(warnings()[1], "not printed: print failed with exit status 1");
}

// The PDF beside the pages and the print job share one rendering; the pages are what they are
// without them; a renderer that is missing is named, and the pages stay written.
TEST_F(ReportOutputTest, OneRenderingServesThePdfAndThePrinter) {
  ASSERT_TRUE(runAuto(autoArgs(products(12), "plain", "Stock", 10)));
  EXPECT_TRUE(h->renderer.calls.empty()) << "nothing is rendered unless asked";
  EXPECT_EQ(
      h->shell.launches,
      (std::vector<FakeShell::Launch>{{"open", "", "file://" + reports() + "plain1.htm", true}}));
  EXPECT_FALSE(fs::exists(reports() + "plain.pdf"));

  const auto both = makeAutomatic(autoArgs(products(12), "both", "Stock", 1), {.pdf = true});
  ASSERT_TRUE(both.ok());
  ASSERT_EQ(h->renderer.calls.size(), 1u);
  EXPECT_EQ(h->renderer.calls[0].size(), 2u);
  EXPECT_EQ(app.read("Reports/both.pdf"), h->shell.printed.at(0));
  EXPECT_EQ(app.read("Reports/both1.htm"),
            replaceAll(app.read("Reports/plain1.htm"), "plain", "both"));
  EXPECT_TRUE(both.warnings.empty());

  h->renderer.failure = "no HTML renderer: chromium is not installed (Debian package chromium)";
  const auto missing = makeAutomatic(autoArgs(products(3), "missing", "Stock", 1), {.pdf = true});
  ASSERT_TRUE(missing.ok());
  EXPECT_EQ(missing.warnings, (std::vector<std::string>{"no PDF written: " + h->renderer.failure,
                                                        "not printed: " + h->renderer.failure}));
  EXPECT_TRUE(fs::exists(reports() + "missing.htm"));
  EXPECT_FALSE(fs::exists(reports() + "missing.pdf"));
}

TEST_F(ReportOutputTest, APdfNameTakenByALinkOrSpecialFileIsLeftAlone) {
  fs::create_directories(reports());
  app.write("target.pdf", "not ours");
  fs::create_symlink(app / "target.pdf", reports() + "link.pdf");
  ASSERT_EQ(mkfifo((reports() + "fifo.pdf").c_str(), 0600), 0);
  fs::create_directory(reports() + "folder.pdf");
  for (const char* name : {"link", "fifo", "folder"}) {
    const auto result = makeAutomatic(autoArgs(products(3), name), {.pdf = true});
    ASSERT_TRUE(result.ok()) << name;
    ASSERT_EQ(result.warnings.size(), 1u) << name;
    EXPECT_EQ(result.warnings[0].rfind("no PDF written: ", 0), 0u) << result.warnings[0];
    EXPECT_TRUE(fs::exists(reports() + name + ".htm"));
  }
  EXPECT_EQ(app.read("target.pdf"), "not ours");
  EXPECT_TRUE(fs::is_symlink(reports() + "link.pdf"));
  EXPECT_TRUE(fs::is_fifo(reports() + "fifo.pdf"));
}

}  // namespace
}  // namespace quelo::testing
