#include "data/sources/odbc/wide_text.h"

#include <cstdint>

#include "automation/text.h"

namespace quelo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at `at` (advanced past it); kReplacement for a sequence that is not UTF-8.
char32_t nextCodePoint(std::string_view s, size_t& at) {
  const auto c = static_cast<unsigned char>(s[at++]);
  if (c < 0x80) return c;
  int extra;
  char32_t cp, least;
  if (c >= 0xC2 && c <= 0xDF) extra = 1, cp = c & 0x1F, least = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) extra = 2, cp = c & 0x0F, least = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) extra = 3, cp = c & 0x07, least = 0x10000;
  else return kReplacement;
  for (int k = 0; k < extra; ++k) {
    if (at >= s.size() || (static_cast<unsigned char>(s[at]) & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (static_cast<unsigned char>(s[at++]) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

bool isHigh(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::basic_string<SQLWCHAR> toWide(std::string_view utf8) {
  std::basic_string<SQLWCHAR> out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const char32_t cp = nextCodePoint(utf8, at);
    if (cp < 0x10000) {
      out.push_back(static_cast<SQLWCHAR>(cp));
    } else {
      out.push_back(static_cast<SQLWCHAR>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<SQLWCHAR>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

void appendUtf8(std::string& out, const SQLWCHAR* units, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const char32_t u = units[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (isHigh(u) && i + 1 < count && isLow(units[i + 1])) {
      appendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      appendCodePoint(out, isHigh(u) || isLow(u) ? kReplacement : u);
    }
  }
}

}  // namespace quelo
