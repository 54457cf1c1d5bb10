#include "platform/posix/json_message.h"

#include <cstdlib>

namespace quelo {
namespace {

void appendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  std::optional<Json> document() {
    auto v = value(0);
    skipSpace();
    if (!v || at_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void skipSpace() {
    while (at_ < s_.size() &&
           (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
      ++at_;
  }
  bool take(char c) {
    skipSpace();
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool word(std::string_view w) {
    if (s_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }

  std::optional<Json> value(int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    skipSpace();
    if (at_ >= s_.size()) return std::nullopt;
    Json v;
    const char c = s_[at_];
    if (c == '{') return object(depth);
    if (c == '[') return array(depth);
    if (c == '"') {
      v.kind = Json::Kind::String;
      if (!string(v.text)) return std::nullopt;
      return v;
    }
    if (word("true") || word("false")) {
      v.kind = Json::Kind::Boolean;
      v.boolean = c == 't';
      return v;
    }
    if (word("null")) return v;
    return number();
  }

  std::optional<Json> number() {
    const std::string digits(s_.substr(at_, s_.find_first_of(",]} \t\r\n", at_) - at_));
    char* end = nullptr;
    Json v;
    v.kind = Json::Kind::Number;
    v.number = std::strtod(digits.c_str(), &end);
    if (digits.empty() || end != digits.c_str() + digits.size()) return std::nullopt;
    at_ += digits.size();
    return v;
  }

  std::optional<Json> object(int depth) {
    ++at_;
    Json v;
    v.kind = Json::Kind::Object;
    if (take('}')) return v;
    do {
      std::string key;
      skipSpace();
      if (at_ >= s_.size() || s_[at_] != '"' || !string(key) || !take(':')) return std::nullopt;
      auto member = value(depth + 1);
      if (!member) return std::nullopt;
      v.members.push_back({std::move(key), std::move(*member)});
    } while (take(','));
    if (!take('}')) return std::nullopt;
    return v;
  }

  std::optional<Json> array(int depth) {
    ++at_;
    Json v;
    v.kind = Json::Kind::Array;
    if (take(']')) return v;
    do {
      auto item = value(depth + 1);
      if (!item) return std::nullopt;
      v.items.push_back(std::move(*item));
    } while (take(','));
    if (!take(']')) return std::nullopt;
    return v;
  }

  std::optional<unsigned> hex4() {
    if (at_ + 4 > s_.size()) return std::nullopt;
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = s_[at_++];
      code <<= 4;
      if (h >= '0' && h <= '9')
        code |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f')
        code |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F')
        code |= static_cast<unsigned>(h - 'A' + 10);
      else
        return std::nullopt;
    }
    return code;
  }

  bool escape(std::string& out) {
    const char e = s_[at_++];
    switch (e) {
      case '"':
      case '\\':
      case '/':
        out += e;
        return true;
      case 'b':
        out += '\b';
        return true;
      case 'f':
        out += '\f';
        return true;
      case 'n':
        out += '\n';
        return true;
      case 'r':
        out += '\r';
        return true;
      case 't':
        out += '\t';
        return true;
      case 'u':
        break;
      default:
        return false;
    }
    auto code = hex4();
    if (!code) return false;
    if (*code >= 0xD800 && *code < 0xDC00 && word("\\u")) {
      auto low = hex4();
      if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
      code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
    }
    appendUtf8(out, *code);
    return true;
  }

  bool string(std::string& out) {
    ++at_;
    for (;;) {
      const size_t plain = s_.find_first_of("\"\\", at_);
      if (plain == std::string_view::npos) return false;
      out.append(s_.substr(at_, plain - at_));
      at_ = plain + 1;
      if (s_[plain] == '"') return true;
      if (at_ >= s_.size() || !escape(out)) return false;
    }
  }

  std::string_view s_;
  size_t at_ = 0;
};

}  // namespace

const Json& Json::operator[](std::string_view key) const {
  static const Json kNull;
  for (const auto& [name, value] : members)
    if (name == key) return value;
  return kNull;
}

bool Json::has(std::string_view key) const {
  for (const auto& member : members)
    if (member.name == key) return true;
  return false;
}

std::optional<Json> parseJson(std::string_view text) {
  return Reader(text).document();
}

std::string jsonQuoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

}  // namespace quelo
