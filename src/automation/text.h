// Text helpers for UTF-8 strings: trimming of spaces, upper case of every letter (not only ASCII),
// as the control stores company names and bare file names, and counting in characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelo {

// The UTF-8 byte-order mark: every page and log file the system creates starts with it, so that
// browsers read the files as UTF-8 and never guess.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Leading and trailing spaces (only the space character, as the classic Trim).
std::string trimSpaces(std::string_view s);
std::string toUpper(std::string_view utf8);
// Every occurrence of `from` (not empty) replaced by `to`, scanning left to right.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);
std::string toLower(std::string_view utf8);
// Equality without regard to the case of ASCII letters, as automation names and keys compare;
// the bytes of other characters compare as they are, whatever the locale.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Order by lower case, ties broken by the bytes, so that names differing only in case keep a
// fixed order.
bool lessIgnoringCase(const std::string& a, const std::string& b);
// The 1-based position of `what` in `text` at or after position `from`, 0 when absent or when
// `from` lies outside the text, as the classic InStr.
size_t positionOf(std::string_view text, std::string_view what, size_t from = 1);
// The pieces between the separators, as the classic Split: an empty text has no pieces.
// REQUIRES: a non-empty separator.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// The code points of a UTF-8 text; a malformed byte stands for itself.
std::u32string toCodePoints(std::string_view utf8);
// The length in bytes of the first `characters` characters (the whole text when it is shorter).
size_t utf8PrefixLength(std::string_view utf8, size_t characters);
// Appends a code point (at most U+10FFFF) in UTF-8.
void appendCodePoint(std::string& out, char32_t cp);
// The number of characters of UTF-8 text: its bytes that do not continue a character.
int64_t characterCount(std::string_view utf8);
// Whether bytes are well-formed UTF-8: no overlong form, surrogate or value past U+10FFFF.
bool isUtf8(std::string_view bytes);
// ISO 8859-1 text (every byte one character) in UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

}  // namespace quelo
