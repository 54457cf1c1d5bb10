// Plain text made to keep its line structure and spacing in a browser: CR LF becomes "<p></p>",
// a CR left alone "<br>", every space "&nbsp;". Markup in the text is not escaped: text that
// holds HTML tags reaches the page as markup, on purpose.
#pragma once

#include <string>
#include <string_view>

namespace quelo {

std::string TextToHtml(std::string_view text);
// The same, appended to `out` (the page writer builds its documents this way).
void appendTextToHtml(std::string& out, std::string_view text);

}  // namespace quelo
