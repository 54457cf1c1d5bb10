#include "reporter/text_to_html.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

// Each space becomes a non-breaking one; CR LF pairs become paragraphs and a lone CR a line
// break; markup and other characters pass through.
TEST(TextToHtml, SpacesAndLineBreaks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"two  words", "two&nbsp;&nbsp;words"}, {" ", "&nbsp;"}, {"a\r\nb", "a<p></p>b"},
      {"a\r\n\r\nb", "a<p></p><p></p>b"}, {"a\rb", "a<br>b"}, {"a\nb", "a\nb"}, {"a\n\rb", "a\n<br>b"},
      {"a\r\r\nb", "a<br><p></p>b"}, {"a\r", "a<br>"},
      {"<a href=\"x\">&amp;</a>", "<a&nbsp;href=\"x\">&amp;</a>"},
      {"tab\there\xC2\xA0nbsp \xD0\x96", "tab\there\xC2\xA0nbsp&nbsp;\xD0\x96"},
  };
  for (const auto& [text, html] : cases) EXPECT_EQ(TextToHtml(text), html) << text;
}

// Escaped text: markup characters become entities first, then the spacing rules apply as always.
TEST(TextToHtml, EscapedValuesShowTheirMarkupAsText) {
  std::string out;
  appendTextToHtml(out, "a<b and c>d & \"q\" 'r'\r\n<script>x</script>", Markup::Escaped);
  EXPECT_EQ(out, "a&lt;b&nbsp;and&nbsp;c&gt;d&nbsp;&amp;&nbsp;&quot;q&quot;&nbsp;&#39;r&#39;<p></p>"
                 "&lt;script&gt;x&lt;/script&gt;");
}

}  // namespace
}  // namespace quelo
