#include "hyperlink/like_pattern.h"

#include "automation/text.h"

namespace quelo {

LikePattern::LikePattern(std::string_view pattern) {
  const std::u32string p = toCodePoints(pattern);
  for (size_t i = 0; i < p.size() && valid_;) {
    const char32_t c = p[i++];
    Token t;
    switch (c) {
      case U'?': t.kind = Token::AnyOne; break;
      case U'#': t.kind = Token::Digit; break;
      case U'*':
        if (!tokens_.empty() && tokens_.back().kind == Token::Star) continue;  // "**" is "*"
        t.kind = Token::Star;
        break;
      case U'[':
        valid_ = parseList(p, i);
        continue;
      default: t.literal = c;
    }
    tokens_.push_back(std::move(t));
  }
}

bool LikePattern::parseList(const std::u32string& p, size_t& i) {
  Token t;
  t.kind = Token::List;
  if (i < p.size() && p[i] == U'!') {
    t.negated = true;
    ++i;
  }
  const size_t start = i;
  while (i < p.size() && p[i] != U']') {
    Range r{p[i], p[i]};
    // A hyphen between two characters makes a range; at either end of the list it is itself.
    if (i + 2 < p.size() && p[i + 1] == U'-' && p[i + 2] != U']') {
      r.last = p[i + 2];
      i += 2;
      if (r.last < r.first) return false;
    }
    t.ranges.push_back(r);
    ++i;
  }
  if (i == p.size()) return false;  // no closing "]"
  ++i;
  // "[]" stands for no character at all, as in the classic operator.
  if (i - start > 1 || t.negated) tokens_.push_back(std::move(t));
  return true;
}

bool LikePattern::Token::accepts(char32_t c) const {
  switch (kind) {
    case AnyOne: return true;
    case Digit: return c >= U'0' && c <= U'9';
    case Literal: return c == literal;
    case Star: return false;
    case List:
      for (const Range& r : ranges)
        if (c >= r.first && c <= r.last) return !negated;
      return negated;
  }
  return false;
}

bool LikePattern::matches(std::string_view text) const {
  if (!valid_) return false;
  const std::u32string s = toCodePoints(text);
  const size_t n = s.size(), m = tokens_.size();
  size_t ti = 0, pi = 0;
  // The last "*" seen and the text position it has been stretched to.
  size_t starToken = m, starText = 0;
  while (ti < n) {
    if (pi < m && tokens_[pi].kind == Token::Star) {
      starToken = pi++;
      starText = ti;
    } else if (pi < m && tokens_[pi].accepts(s[ti])) {
      ++pi;
      ++ti;
    } else if (starToken != m) {
      pi = starToken + 1;  // let the last "*" take one more character
      ti = ++starText;
    } else {
      return false;
    }
  }
  while (pi < m && tokens_[pi].kind == Token::Star) ++pi;
  return pi == m;
}

}  // namespace quelo
