// Text helpers for UTF-8 strings: trimming of spaces, and upper case of every letter (not only
// ASCII), as the control stores company names and bare file names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelo {

// Leading and trailing spaces (only the space character, as the classic Trim).
std::string trimSpaces(std::string_view s);
std::string toUpper(std::string_view utf8);
std::string toLower(std::string_view utf8);
// The pieces between the separators, as the classic Split: an empty text has no pieces.
// REQUIRES: a non-empty separator.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

}  // namespace quelo
