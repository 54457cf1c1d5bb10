// The reporter's text functions: values as HTML, picture addresses, the names of pages and of
// the PDF, and which files are pages of a report.
#include <gtest/gtest.h>

#include "component/platform.h"
#include "report/earlier_pages.h"
#include "report/generation_driver.h"
#include "report/report_document.h"
#include "report/text_to_html.h"
#include "report/url_path.h"

namespace quelo {
namespace {

// Each space becomes a non-breaking one; CR LF pairs become paragraphs and a lone CR a line
// break; markup and other characters pass through.
TEST(TextToHtml, SpacesAndLineBreaks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"two  words", "two&nbsp;&nbsp;words"},
      {"a\r\nb", "a<p></p>b"},
      {"a\rb", "a<br>b"},
      {"a\nb", "a\nb"},
      {"a\n\rb", "a\n<br>b"},
      {"a\r\r\nb", "a<br><p></p>b"},
      {"a\r", "a<br>"},
      {"<a href=\"x\">&amp;</a>", "<a&nbsp;href=\"x\">&amp;</a>"},
      {"tab\there\xC2\xA0nbsp \xD0\x96", "tab\there\xC2\xA0nbsp&nbsp;\xD0\x96"},
  };
  for (const auto& [text, html] : cases) EXPECT_EQ(textToHtml(text), html) << text;
}

// Escaped text: markup characters become entities first, then the spacing rules apply as always.
TEST(TextToHtml, EscapedValuesShowTheirMarkupAsText) {
  std::string out;
  appendTextToHtml(out, "a<b and c>d & \"q\" 'r'\r\n<script>x</script>", Markup::Escaped);
  EXPECT_EQ(out,
            "a&lt;b&nbsp;and&nbsp;c&gt;d&nbsp;&amp;&nbsp;&quot;q&quot;&nbsp;&#39;r&#39;<p></p>"
            "&lt;script&gt;x&lt;/script&gt;");
}

TEST(PercentEncodedPath, OnlyCharactersThatBreakAnAddressAreEncoded) {
  const std::pair<std::string, std::string> cases[] = {
      {"/srv/pics/cat.png", "/srv/pics/cat.png"},
      {"C:\\Data\\Photo-1_(a).jpg", "C:\\Data\\Photo-1_(a).jpg"},
      {"/my pics/#1 100%?.png", "/my%20pics/%231%20100%25%3F.png"},
      {"a\"b'c<d>e\tf\x7Fg", "a%22b%27c%3Cd%3Ee%09f%7Fg"},
      {"東京 ж.png", "東京%20ж.png"},
  };
  for (const auto& [path, encoded] : cases) EXPECT_EQ(percentEncodedPath(path), encoded) << path;
}

TEST(EarlierPages, OnlyTheNamesTheReportWrites) {
  const std::pair<std::string, bool> cases[] = {
      {"name.htm", true},       {"name1.htm", true},  {"name27.htm", true}, {"name.html", false},
      {"name01.htm", false},    {"name0.htm", false}, {"namex.htm", false}, {"other1.htm", false},
      {"name1.htm.bak", false}, {"name.asp", false},
  };
  for (const auto& [name, page] : cases) EXPECT_EQ(isPageOfReport(name, "name.htm"), page) << name;
  EXPECT_TRUE(isPageOfReport("web3.html", "web.html"));
  EXPECT_TRUE(isPageOfReport("app12.asp", "app.asp"));
}

TEST(PdfFileName, TheLastExtensionBecomesPdf) {
  const std::pair<std::string, std::string> cases[] = {{"report.htm.htm", "report.htm.pdf"},
                                                       {"web.html", "web.pdf"}};
  for (const auto& [base, pdf] : cases) EXPECT_EQ(pdfFileName(base), pdf) << base;
}

// A name spelled with overlong UTF-8 slashes stays one plain name in the Reports folder.
TEST(ReportNames, OverlongSlashesNeverReachAnotherFolder) {
  Platform platform;
  for (const char* typed : {"..\xE0\x80\xAF..\xE0\x80\xAF"
                            "etc\xE0\x80\xAFx.htm",
                            "\xF0\x80\x80\xAF"
                            "x"}) {
    const std::string name = reportBaseName(platform, typed);
    EXPECT_EQ(name.find_first_of(std::string("/\\\0", 3)), std::string::npos)
        << testing::PrintToString(name);
    EXPECT_EQ(pageFileName(name, 2, 3).find('/'), std::string::npos);
  }
}

}  // namespace
}  // namespace quelo
