#include "reporter/text_to_html.h"

namespace quelo {
namespace {

// The entity of a character that escaped text may not hold as it is; none for the others.
const char* entityOf(char c) {
  switch (c) {
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '&': return "&amp;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return nullptr;
  }
}

}  // namespace

std::string TextToHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  appendTextToHtml(out, text);
  return out;
}

std::string escapedMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (const char* entity = entityOf(c)) out += entity;
    else out += c;
  }
  return out;
}

// One pass does the replacements in their order: a CR takes the LF that follows it, so a CR LF
// pair never yields "<br>", and no replacement text holds a space.
void appendTextToHtml(std::string& out, std::string_view text, Markup markup) {
  const bool escape = markup == Markup::Escaped;
  size_t plain = 0;  // start of the run of characters kept as they are
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char* entity = escape ? entityOf(c) : nullptr;
    if (c != ' ' && c != '\r' && !entity) continue;
    out.append(text.substr(plain, i - plain));
    if (entity) {
      out += entity;
    } else if (c == ' ') {
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
