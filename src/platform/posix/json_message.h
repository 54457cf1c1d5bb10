// The JSON of the messages a browser's debugging protocol exchanges: a small reader into a tree
// and the quoting of strings for messages written by hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelo {

struct Json {
  struct Member;  // a name and its value, defined below: a member holds a Json whole
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<Member> members;

  // The member named `key`; a Null value when there is none (or this is no object).
  const Json& operator[](std::string_view key) const;
  bool has(std::string_view key) const;
};

struct Json::Member {
  std::string name;
  Json value;
};

// The value `text` holds, or nothing when it is not well-formed JSON.
std::optional<Json> parseJson(std::string_view text);

// `text` as a JSON string, quotes included.
std::string jsonQuoted(std::string_view text);

}  // namespace quelo
