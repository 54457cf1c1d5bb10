#include "reporter/text_to_html.h"

namespace quelo {

// One pass does the three replacements in their order: a CR takes the LF that follows it, so
// a CR LF pair never yields "<br>", and the replacement texts hold no spaces.
std::string TextToHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  appendTextToHtml(out, text);
  return out;
}

void appendTextToHtml(std::string& out, std::string_view text) {
  size_t plain = 0;  // start of the run of characters kept as they are
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != ' ' && c != '\r') continue;
    out.append(text.substr(plain, i - plain));
    if (c == ' ') {
      out += "&nbsp;";
    } else if (i + 1 < text.size() && text[i + 1] == '\n') {
      out += "<p></p>";
      ++i;
    } else {
      out += "<br>";
    }
    plain = i + 1;
  }
  out.append(text.substr(plain));
}

}  // namespace quelo
