// The Like matcher against a reference built straight from the pattern rules: a table over
// (pattern element, text position), filled from the end. Input: PATTERN NUL TEXT.
#include <optional>

#include "fuzz_support.h"
#include "hyperlink/like_pattern.h"
#include "automation/text.h"

namespace {

struct Element {
  enum Kind { One, Any, Digit, Star, Set, Nothing } kind = One;
  char32_t c = 0;
  bool negated = false;
  std::u32string set;  // the list between the brackets, as written
};

// The elements of a pattern, or nothing when it is malformed.
std::optional<std::vector<Element>> elements(const std::u32string& p) {
  std::vector<Element> out;
  for (size_t i = 0; i < p.size(); ++i) {
    Element e;
    if (p[i] == U'?') {
      e.kind = Element::Any;
    } else if (p[i] == U'#') {
      e.kind = Element::Digit;
    } else if (p[i] == U'*') {
      e.kind = Element::Star;
    } else if (p[i] == U'[') {
      size_t j = i + 1;
      if (j < p.size() && p[j] == U'!') e.negated = true, ++j;
      const size_t close = p.find(U']', j);
      if (close == std::u32string::npos) return std::nullopt;
      e.set = p.substr(j, close - j);
      e.kind = e.set.empty() && !e.negated ? Element::Nothing : Element::Set;
      for (size_t k = 0; k + 2 < e.set.size(); ++k) {
        if (e.set[k + 1] != U'-') continue;
        if (e.set[k + 2] < e.set[k]) return std::nullopt;  // a range that runs backwards
        k += 2;
      }
      i = close;
    } else {
      e.c = p[i];
    }
    out.push_back(e);
  }
  return out;
}

bool inSet(const Element& e, char32_t c) {
  const std::u32string& s = e.set;
  for (size_t k = 0; k < s.size(); ++k) {
    if (k + 2 < s.size() && s[k + 1] == U'-') {
      if (c >= s[k] && c <= s[k + 2]) return !e.negated;
      k += 2;
    } else if (c == s[k]) {
      return !e.negated;
    }
  }
  return e.negated;
}

bool takes(const Element& e, char32_t c) {
  switch (e.kind) {
    case Element::Any: return true;
    case Element::Digit: return c >= U'0' && c <= U'9';
    case Element::Set: return inSet(e, c);
    case Element::One: return c == e.c;
    default: return false;
  }
}

bool referenceMatch(const std::u32string& text, const std::u32string& pattern) {
  const auto es = elements(pattern);
  if (!es) return false;
  const size_t n = text.size();
  // after[s]: whether the elements after the current one match text from s on.
  std::vector<char> after(n + 1, 0), here(n + 1, 0);
  after[n] = 1;
  for (size_t k = es->size(); k-- > 0;) {
    const Element& e = (*es)[k];
    for (size_t s = n + 1; s-- > 0;) {
      if (e.kind == Element::Star) here[s] = after[s] || (s < n && here[s + 1]);
      else if (e.kind == Element::Nothing) here[s] = after[s];
      else here[s] = s < n && takes(e, text[s]) && after[s + 1];
    }
    after.swap(here);
  }
  return after[0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = quelo::fuzz::asText(data, size);
  const size_t cut = input.find('\0');
  const std::string_view pattern = input.substr(0, cut);
  const std::string_view text = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  const bool got = quelo::LikePattern(pattern).matches(text);
  const bool want = referenceMatch(quelo::toCodePoints(text), quelo::toCodePoints(pattern));
  if (got != want) quelo::fuzz::finding(std::string("the pattern says ") + (got ? "match" : "no match"));
  return 0;
}
