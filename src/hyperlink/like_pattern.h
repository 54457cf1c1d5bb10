// LikePattern: the wildcard patterns that window titles and class names are matched against.
// "?" is any one character, "*" any run of characters (none too), "#" any one digit, "[list]" any
// one character of the list ("a-z" inside it is a range), "[!list]" any one character not in it;
// every other character stands for itself. Matching is case-sensitive, by characters (not bytes),
// and the whole text must match the whole pattern. A malformed pattern (an unclosed "[", a range
// that runs backwards) matches nothing.
//
// Each token other than "*" takes exactly one character, so a failed attempt only ever needs to go
// back to the last "*": matching costs at most text length x pattern length steps, however hostile
// the pattern.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelo {

class LikePattern {
 public:
  explicit LikePattern(std::string_view pattern);

  bool valid() const { return valid_; }
  bool matches(std::string_view text) const;

 private:
  struct Range {
    char32_t first, last;
  };
  struct Token {
    enum Kind { Literal, AnyOne, Digit, Star, List } kind = Literal;
    char32_t literal = 0;
    bool negated = false;
    std::vector<Range> ranges;
    bool accepts(char32_t c) const;
  };

  // Reads a bracketed list from just after its "["; false when it is malformed.
  bool parseList(const std::u32string& p, size_t& i);

  std::vector<Token> tokens_;
  bool valid_ = true;
};

}  // namespace quelo
