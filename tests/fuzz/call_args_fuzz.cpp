// The command line of `quelo call`, words cut at NUL bytes: it reads or refuses, never faults.
// What it reads has one invocation per "--"-separated group, a member name in each, exactly one
// value for a property write, and every argument is the value its word stands for.
#include <charconv>

#include "call_line.h"
#include "fuzz_support.h"

namespace {

using quelo::Variant;

// The value a word stands for, decided from the rules of the usage text.
void checkArgument(const std::string& word, const Variant& v) {
  if (word == "~") {
    if (!v.isMissing()) quelo::fuzz::finding("~ is not the omitted argument");
  } else if (word.starts_with("s:")) {
    if (!v.isString() || v.asString() != word.substr(2)) quelo::fuzz::finding("s:TEXT is not TEXT");
  } else if (word == "true" || word == "false") {
    if (!(v == Variant(word == "true"))) quelo::fuzz::finding("true/false is not a Boolean");
  } else if (v.type() == quelo::VarType::Long) {
    const std::string digits = word.starts_with('+') ? word.substr(1) : word;
    int64_t n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size() || n != v.asLong())
      quelo::fuzz::finding("the Long " + std::to_string(v.asLong()) + " from '" + word + "'");
  } else if (!v.isString() || v.asString() != word) {
    quelo::fuzz::finding("the word '" + word + "' is not taken as a string");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const quelo::cli::Words words = quelo::fuzz::cutAt(quelo::fuzz::asText(data, size), '\0');
  auto line = quelo::cli::parseCallLine(words);
  if (!line || line.value().help) return 0;

  // The options end at the first word that does not start with "--" (or at "--" itself).
  size_t i = 0;
  while (i < words.size() && words[i].starts_with("--") && words[i] != "--") i += words[i] == "--app-path" ? 2 : 1;
  std::vector<quelo::cli::Words> groups(1);
  for (; i < words.size(); ++i) {
    if (words[i] == "--") groups.emplace_back();
    else groups.back().push_back(words[i]);
  }
  const auto& invocations = line.value().invocations;
  if (invocations.size() != groups.size()) quelo::fuzz::finding("another count of invocations");
  for (size_t k = 0; k < groups.size(); ++k) {
    const auto& inv = invocations[k];
    const auto& group = groups[k];
    if (inv.member.empty()) quelo::fuzz::finding("an invocation without a member");
    const size_t eq = group[0].find('=');
    if (eq != std::string::npos) {
      if (inv.kind != quelo::InvokeKind::PropertyPut || inv.args.size() != 1 || group.size() != 1)
        quelo::fuzz::finding("a property write is not one value");
      checkArgument(group[0].substr(eq + 1), inv.args[0]);
      continue;
    }
    if (inv.member != group[0] || inv.args.size() != group.size() - 1) quelo::fuzz::finding("the words of an invocation are lost");
    for (size_t a = 1; a < group.size(); ++a) checkArgument(group[a], inv.args[a - 1]);
  }
  return 0;
}
