// The pages of 'quelo report' as a person sees them in a real browser (headless chromium): text
// that reads right, links that lead somewhere, pictures that load from where the pages are, and
// markup from the data that stays text when asked to.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "fakes/headless_browser.h"
#include "fakes/http_file_server.h"
#include "png_writer.h"
#include "report_cli_fixture.h"

namespace quelo::testing {
namespace {

namespace fs = std::filesystem;

// Every value of `attribute` in a serialised DOM (chromium writes attributes in double quotes).
std::vector<std::string> attributeValues(const std::string& dom, const std::string& attribute) {
  std::vector<std::string> out;
  const std::regex pattern(" " + attribute + "=\"([^\"]*)\"", std::regex::icase);
  for (std::sregex_iterator it(dom.begin(), dom.end(), pattern), end; it != end; ++it) out.push_back((*it)[1]);
  return out;
}

class BrowserPages : public ReportCli {
 protected:
  void SetUp() override { QUELO_REQUIRE_CHROMIUM(); }
  // The page's DOM as chromium builds it; the run itself must succeed.
  std::string dom(const std::string& url, const std::vector<std::string>& extra = {}) {
    const ProcessResult r = renderedDom(url, extra);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
  }
  void reportOk(const std::vector<std::string>& args) {
    const ProcessResult r = report(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  // The natural widths of the pictures of `page` as the browser loaded them (0: not loaded), read
  // by a page of the test's own that holds the report page in a frame of the same origin.
  std::string loadedPictureWidths(const std::string& folder, const std::string& page, const std::string& url,
                                  std::vector<std::string> extra = {}) {
    const std::string probe = "<!DOCTYPE html><html><body><iframe id=f src=\"" + page + "\"></iframe><script>"
                              "onload = () => document.body.setAttribute('data-widths', "
                              "Array.from(document.getElementById('f').contentDocument.images)"
                              ".map(i => i.naturalWidth).join(','));</script></body></html>";
    std::ofstream(folder + "/probe.html") << probe;
    const std::vector<std::string> widths = attributeValues(dom(url + "probe.html", extra), "data-widths");
    return widths.empty() ? "no widths" : widths.front();
  }
};

// Long pages whose first letters outside ASCII come late are where a browser that guesses the
// encoding guesses wrong.
TEST_F(BrowserPages, LettersAfterAMegabyteOfAsciiReadRight) {
  const std::string words = "José-Müller-Ёжик-東京";
  dir.write("late.csv", "Name,Note\nfirst," + std::string(1 << 20, 'x') + "\n" + words + ",last\n");
  reportOk({"--csv", dir / "late.csv", "--app-path", dir / "app", "--file", "late"});
  EXPECT_NE(dom(fileUrl(page("late.htm"))).find(words), std::string::npos);
}

TEST_F(BrowserPages, EveryLinkLeadsToAPageOrAnchorThatExists) {
  reportOk({"--csv", csv(23), "--app-path", dir / "app", "--file", "linked", "--max-recs", "10"});
  size_t links = 0;
  for (const std::string name : {"linked1.htm", "linked2.htm", "linked3.htm"}) {
    SCOPED_TRACE(name);
    const std::string shown = dom(fileUrl(page(name)));
    const std::vector<std::string> anchors = attributeValues(shown, "name");
    const std::set<std::string> names(anchors.begin(), anchors.end());
    for (const std::string& href : attributeValues(shown, "href")) {
      ++links;
      if (href.starts_with("#")) EXPECT_TRUE(names.contains(href.substr(1))) << href;
      else EXPECT_TRUE(exists(page(href))) << href;
    }
  }
  EXPECT_GE(links, 8u);  // two pages' links on each page, section links on the first two
}

TEST_F(BrowserPages, PicturesLoadFromFoldersAndNamesWithBlanksAndHashes) {
  fs::create_directories(dir / "my pics #2");
  const std::string png = sample::encodePng({7, 5, std::vector<sample::Rgb>(35, {200, 40, 40})});
  for (const char* name : {"cat #1.png", "50% off.png", "why?.png"}) dir.write(std::string("my pics #2/") + name, png);
  dir.write("pics.csv", "Name,Picture\na,cat #1.png\nb,50% off.png\nc,why?.png\n");
  const std::vector<std::string> args{"--csv",         dir / "pics.csv", "--app-path", dir / "app",
                                      "--pic-fields",  "Picture",        "--file",     "pics",
                                      "--graphic-folder", dir / "my pics #2"};
  reportOk(args);
  const std::string reports = dir / "app/Reports";
  EXPECT_EQ(loadedPictureWidths(reports, "pics.htm", fileUrl(reports + "/"), {"--allow-file-access-from-files"}),
            "7,7,7");

  // Copied beside the pages, they load from a copy of the Reports folder served over HTTP.
  std::vector<std::string> copying = args;
  copying.insert(copying.end(), {"--copy-pictures", "--file", "moved"});
  reportOk(copying);
  const std::string served = dir / "served";
  fs::copy(reports, served, fs::copy_options::recursive);
  fs::remove_all(dir / "my pics #2");
  HttpFileServer server(served);
  EXPECT_EQ(loadedPictureWidths(served, "moved.htm", server.url("")), "7,7,7");
}

TEST_F(BrowserPages, EscapedValuesShowAScriptAsTextAndDoNotRunIt) {
  const std::string script = "<script>document.body.setAttribute('data-ran','yes')</script>";
  dir.write("script.csv", "Name,Note\nx,\"" + script + "\"\n");
  reportOk({"--csv", dir / "script.csv", "--app-path", dir / "app", "--file", "markup"});
  reportOk({"--csv", dir / "script.csv", "--app-path", dir / "app", "--file", "text", "--escape-values"});
  EXPECT_EQ(attributeValues(dom(fileUrl(page("markup.htm"))), "data-ran"), std::vector<std::string>{"yes"});
  const std::string shown = dom(fileUrl(page("text.htm")));
  EXPECT_TRUE(attributeValues(shown, "data-ran").empty());
  EXPECT_NE(shown.find("&lt;script&gt;document.body.setAttribute('data-ran','yes')&lt;/script&gt;"), std::string::npos)
      << shown;
}

}  // namespace
}  // namespace quelo::testing
