#include "reporter/text_to_html.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

TEST(TextToHtml, SpacesBecomeNonBreakingOneForOne) {
  EXPECT_EQ(TextToHtml(""), "");
  EXPECT_EQ(TextToHtml("two  words"), "two&nbsp;&nbsp;words");
  EXPECT_EQ(TextToHtml(" "), "&nbsp;");
}

TEST(TextToHtml, LineBreaksByTheirPairs) {
  EXPECT_EQ(TextToHtml("a\r\nb"), "a<p></p>b");
  EXPECT_EQ(TextToHtml("a\r\n\r\nb"), "a<p></p><p></p>b");
  EXPECT_EQ(TextToHtml("a\rb"), "a<br>b");
  EXPECT_EQ(TextToHtml("a\nb"), "a\nb");
  EXPECT_EQ(TextToHtml("a\n\rb"), "a\n<br>b");
  EXPECT_EQ(TextToHtml("a\r\r\nb"), "a<br><p></p>b");
  EXPECT_EQ(TextToHtml("a\r"), "a<br>");
}

TEST(TextToHtml, MarkupAndOtherCharactersPassThrough) {
  EXPECT_EQ(TextToHtml("<a href=\"x\">&amp;</a>"), "<a&nbsp;href=\"x\">&amp;</a>");
  EXPECT_EQ(TextToHtml("tab\there\xC2\xA0nbsp \xD0\x96"), "tab\there\xC2\xA0nbsp&nbsp;\xD0\x96");
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
