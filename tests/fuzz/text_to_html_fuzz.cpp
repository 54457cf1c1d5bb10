// Text to HTML: no space and no CR is left in the output, its length is what the three
// replacements give, appending equals converting, and text free of markup reads back whole.
#include "automation/text.h"
#include "fuzz_support.h"
#include "report/text_to_html.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = quelo::fuzz::asText(data, size);
  const std::string html = quelo::textToHtml(text);
  if (html.find_first_of(" \r") != std::string::npos) quelo::fuzz::finding("a space or CR is left");

  size_t expected = text.size();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ')
      expected += 5;  // &nbsp;
    else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      expected += 5, ++i;  // <p></p>
    else if (text[i] == '\r')
      expected += 3;  // <br>
  }
  if (html.size() != expected) quelo::fuzz::finding("the output has another length");

  std::string appended = "<td>";
  quelo::appendTextToHtml(appended, text);
  if (appended != "<td>" + html) quelo::fuzz::finding("appending differs from converting");

  if (text.find_first_of("&<") == std::string_view::npos) {
    const std::string back = quelo::replaceAll(
        quelo::replaceAll(quelo::replaceAll(html, "<p></p>", "\r\n"), "<br>", "\r"), "&nbsp;", " ");
    if (back != text) quelo::fuzz::finding("the text does not read back");
  }
  return 0;
}
