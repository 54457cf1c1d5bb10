#include "automation/text.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>
#include <cstring>

namespace quelo {
namespace {

// Decodes one code point; a malformed sequence yields its first byte alone. An overlong form, a
// surrogate or a value past U+10FFFF is malformed: decoding "\xE0\x80\xAF" as "/" would let a
// later case mapping put a separator (or a NUL) into a name that had none.
char32_t decode(std::string_view s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
  if (extra == 0 || i + static_cast<size_t>(extra) >= s.size()) {
    ++i;
    return b;
  }
  char32_t cp = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return b;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    ++i;
    return b;
  }
  i += static_cast<size_t>(extra) + 1;
  return cp;
}

locale_t utf8Locale() {
  static const locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  }();
  return loc;
}

template <class Map>
std::string mapLetters(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<char>(map(static_cast<wint_t>(b)));
      ++i;
      continue;
    }
    const size_t start = i;
    const char32_t cp = decode(s, i);
    if (i - start == 1 && cp == b) {
      out += static_cast<char>(b);  // a stray byte stays as it is
      continue;
    }
    appendCodePoint(out, static_cast<char32_t>(map(static_cast<wint_t>(cp))));
  }
  return out;
}

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string trimSpaces(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  size_t at = 0;
  for (size_t hit; !from.empty() && (hit = text.find(from, at)) != std::string_view::npos; at = hit + from.size()) {
    out += text.substr(at, hit - at);
    out += to;
  }
  out += text.substr(at);
  return out;
}

std::string toUpper(std::string_view utf8) {
  return mapLetters(utf8, [](wint_t c) { return towupper_l(c, utf8Locale()); });
}

std::string toLower(std::string_view utf8) {
  return mapLetters(utf8, [](wint_t c) { return towlower_l(c, utf8Locale()); });
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  const std::string la = toLower(a), lb = toLower(b);
  return la != lb ? la < lb : a < b;
}

size_t positionOf(std::string_view text, std::string_view what, size_t from) {
  if (from == 0 || from > text.size()) return 0;
  const size_t at = text.find(what, from - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  for (size_t start = 0;;) {
    const size_t at = text.find(separator, start);
    pieces.emplace_back(text.substr(start, at - start));
    if (at == std::string_view::npos) return pieces;
    start = at + separator.size();
  }
}

std::u32string toCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) out += decode(utf8, i);
  return out;
}

size_t utf8PrefixLength(std::string_view utf8, size_t characters) {
  size_t i = 0;
  for (size_t n = 0; n < characters && i < utf8.size(); ++n) decode(utf8, i);
  return i;
}

void appendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int64_t characterCount(std::string_view utf8) {
  int64_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

bool isUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    // ASCII, eight bytes at a time.
    if (i + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= n) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(bytes[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) appendCodePoint(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace quelo
