// Plain text made to keep its line structure and spacing in a browser: CR LF becomes "<p></p>",
// a CR left alone "<br>", every space "&nbsp;". Markup in the text is not escaped: text that
// holds HTML tags reaches the page as markup, on purpose. A report may ask for record values to
// be written as text instead: then "<", ">", "&" and quotes are escaped first.
#pragma once

#include <string>
#include <string_view>

namespace quelo {

enum class Markup { Kept, Escaped };

std::string textToHtml(std::string_view text);
// The same, appended to `out` (the page writer builds its documents this way).
void appendTextToHtml(std::string& out, std::string_view text, Markup markup = Markup::Kept);
// Only the escaping: "<", ">", "&" and quotes as entities, spacing as it is (for names and links).
std::string escapedMarkup(std::string_view text);

}  // namespace quelo
