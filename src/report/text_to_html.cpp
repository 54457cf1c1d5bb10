#include "report/text_to_html.h"

namespace quelo {
namespace {

// The entity of a character that escaped text may not hold as it is; none for the others.
const char* entityOf(char c) {
  switch (c) {
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '&':
      return "&amp;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return nullptr;
  }
}

}  // namespace

std::string textToHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  appendTextToHtml(out, text);
  return out;
}

std::string escapedMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (const char* entity = entityOf(c))
      out += entity;
    else
      out += c;
  }
  return out;
}

namespace {

// Which characters a text keeps as they are, in text kept as markup and in escaped text.
struct KeptCharacters {
  bool kept[2][256];
  KeptCharacters() {
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      kept[0][c] = ch != ' ' && ch != '\r';
      kept[1][c] = kept[0][c] && !entityOf(ch);
    }
  }
};

}  // namespace

// One pass does the replacements in their order: a CR takes the LF that follows it, so a CR LF
// pair never yields "<br>", and no replacement text holds a space. Runs of characters kept as
// they are go over in one piece.
void appendTextToHtml(std::string& out, std::string_view text, Markup markup) {
  static const KeptCharacters characters;
  const bool escape = markup == Markup::Escaped;
  const bool* kept = characters.kept[escape];
  const char* const end = text.data() + text.size();
  for (const char* at = text.data(); at < end;) {
    const char* special = at;
    while (special < end && kept[static_cast<unsigned char>(*special)]) ++special;
    out.append(at, static_cast<size_t>(special - at));
    if (special == end) break;
    at = special + 1;
    if (const char* entity = escape ? entityOf(*special) : nullptr) {
      out += entity;
    } else if (*special == ' ') {
      out += "&nbsp;";
    } else if (at < end && *at == '\n') {
      out += "<p></p>";
      ++at;
    } else {
      out += "<br>";
    }
  }
}

}  // namespace quelo
