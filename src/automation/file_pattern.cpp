#include "automation/file_pattern.h"

#include <string>

#include "automation/text.h"

namespace quelo {
namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The end of the UTF-8 character that starts at i.
size_t nextChar(std::string_view s, size_t i) {
  ++i;
  while (i < s.size() && isContinuation(s[i])) ++i;
  return i;
}

// Wildcard match with one backtracking point: the last "*" seen absorbs one more character
// each time the rest fails to match.
bool matchOne(std::string_view name, std::string_view pattern) {
  size_t n = 0, p = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n = nextChar(name, n);
    } else if (p < pattern.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP;
      n = starN = nextChar(name, starN);
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool matchesFilePattern(std::string_view name, std::string_view patterns) {
  const std::string lowerName = toLower(name);
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    const std::string pattern = toLower(trimSpaces(patterns.substr(start, end - start)));
    if (pattern == "*.*" || (!pattern.empty() && matchOne(lowerName, pattern))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace quelo
