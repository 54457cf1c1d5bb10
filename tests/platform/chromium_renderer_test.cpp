// The real renderer on pages of its own: what a browser shows reaches the PDF (text in any
// script, local pictures, a bookmark per page), and nothing else happens (no script runs, no
// server is asked for anything).
#include "platform/posix/chromium_renderer.h"

#define POINTERHOLDER_TRANSITION 4
#include <gtest/gtest.h>

#include <filesystem>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "fakes/http_file_server.h"
#include "fakes/run_process.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/json_message.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using testing::ScratchDir;

bool haveChromium() { return testing::runProcess({"sh", "-c", "command -v chromium"}).exitCode == 0; }

// The text of a PDF, as pdftotext reads it.
std::string pdfText(const ScratchDir& dir, const std::string& pdf) {
  dir.write("out.pdf", pdf);
  return testing::runProcess({"pdftotext", dir / "out.pdf", "-"}).out;
}

std::vector<std::string> bookmarks(const std::string& pdf) {
  QPDF doc;
  doc.processMemoryFile("rendered", pdf.data(), pdf.size());
  std::vector<std::string> titles;
  for (auto& item : QPDFOutlineDocumentHelper(doc).getTopLevelOutlines()) titles.push_back(item.getTitle());
  return titles;
}

TEST(ChromiumRenderer, PagesAreRenderedAsShownWithABookmarkEachAndNothingFetchedOrRun) {
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed";
  ScratchDir site, pages;
  // The same 64 x 64 picture here and on a server: only the local one may be drawn.
  std::filesystem::copy_file(QUELO_TEST_SAMPLE_DIR "pictures/backpack.png", pages / "cat.png");
  std::filesystem::copy_file(QUELO_TEST_SAMPLE_DIR "pictures/backpack.png", site / "remote.png");
  testing::HttpFileServer server(site.path());
  pages.write("a.htm", "<HTML><BODY><TABLE BORDER=1 BGCOLOR=YELLOW><TR><TD>Grüße Привет Ελλάδα</TD></TR></TABLE>"
                       "<IMG SRC=cat.png><IMG SRC=\"" + server.url("remote.png") +
                       "\"><SCRIPT>document.write('SCRIPT RAN')</SCRIPT></BODY></HTML>");
  pages.write("b.htm", "<HTML><BODY><P>second page</P></BODY></HTML>");
  auto pdf = ChromiumRenderer().renderPdf({{"file://" + pages / "a.htm", "Vol 1"},
                                          {"file://" + pages / "b.htm", "Vol 2"}});
  ASSERT_TRUE(pdf.isOk()) << pdf.error().message;
  const std::string text = pdfText(pages, pdf.value());
  for (const char* shown : {"Grüße Привет Ελλάδα", "second page"})
    EXPECT_NE(text.find(shown), std::string::npos) << text;
  EXPECT_EQ(text.find("SCRIPT RAN"), std::string::npos) << text;
  EXPECT_EQ(text.find("<TD>"), std::string::npos) << text;
  EXPECT_EQ(bookmarks(pdf.value()), (std::vector<std::string>{"Vol 1", "Vol 2"}));
  const std::string images = testing::runProcess({"pdfimages", "-list", pages / "out.pdf"}).out;
  size_t drawn = 0;
  for (size_t at = 0; (at = images.find(" image      64    64 ", at)) != std::string::npos; ++at) ++drawn;
  EXPECT_EQ(drawn, 1u) << "the local picture only\n" << images;
}

TEST(ChromiumRenderer, AMissingBrowserOrPageIsNamed) {
  ScratchDir pages;
  auto missing = ChromiumRenderer("/nonexistent/chromium").renderPdf({{"file://" + pages / "a.htm", "a"}});
  EXPECT_EQ(missing.error().number, err::kFileNotFound);
  EXPECT_EQ(missing.error().message,
            "no HTML renderer: /nonexistent/chromium is not installed (Debian package chromium)");
  EXPECT_EQ(ChromiumRenderer().renderPdf({{"http://127.0.0.1/a.htm", "a"}}).error().number, err::kInvalidProcedureCall);
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed";
  auto gone = ChromiumRenderer().renderPdf({{"file://" + pages / "gone.htm", "gone"}});
  ASSERT_FALSE(gone.isOk());
  EXPECT_NE(gone.error().message.find("gone.htm"), std::string::npos) << gone.error().message;
}


// The renderer reads the browser's debugging protocol.
TEST(JsonMessage, ReadsWhatTheDebuggingProtocolSends) {
  auto m = parseJson(
      R"( {"id":7,"result":{"data":"JVBER","list":[1,true,null]},"sessionId":"A\"\\\/\u00e9\ud83d\ude00\n"} )");
  ASSERT_TRUE(m);
  EXPECT_EQ((*m)["id"].number, 7);
  EXPECT_EQ((*m)["result"]["data"].text, "JVBER");
  EXPECT_EQ((*m)["result"]["list"].items.size(), 3u);
  EXPECT_TRUE((*m)["result"]["list"].items[1].boolean);
  EXPECT_EQ((*m)["sessionId"].text, "A\"\\/é😀\n");
  EXPECT_FALSE(m->has("error"));
  EXPECT_EQ((*m)["missing"]["deeper"].kind, Json::Kind::Null);
  const std::string text = "file:///a b/\"q\"\\\x01\t東京";  // a quoted string reads back as itself
  EXPECT_EQ(parseJson(jsonQuoted(text))->text, text);
}

TEST(JsonMessage, RefusesWhatIsNotJson) {
  for (const char* bad : {"", "{", "{\"a\":}", "[1,]", "\"open", "{\"a\":1} x",
                          "\"\\ud800\\u0041\"", "\"\\q\"", "1e"})
    EXPECT_FALSE(parseJson(bad)) << bad;
  EXPECT_FALSE(parseJson(std::string(100, '[') + std::string(100, ']'))) << "nesting is bounded";
}
}  // namespace
}  // namespace quelo
