#include "call_line.h"

#include <charconv>

#include "control/type_library.h"

namespace quelo::cli {
namespace {

Result<Invocation> parseInvocation(const Words& words) {
  Invocation inv;
  const std::string& head = words.front();
  const size_t eq = head.find('=');
  if (eq != std::string::npos) {
    if (words.size() > 1) return makeError(0, "'" + head + "' writes a property and takes no further arguments");
    inv.member = head.substr(0, eq);
    inv.kind = InvokeKind::PropertyPut;
    inv.args.push_back(parseArgument(head.substr(eq + 1)));
  } else {
    inv.member = head;
    const MemberInfo* m = zeQueloTypeLibrary().findMember(head);
    inv.kind = m && m->kind == MemberKind::Property ? InvokeKind::PropertyGet : InvokeKind::Method;
    for (size_t i = 1; i < words.size(); ++i) inv.args.push_back(parseArgument(words[i]));
  }
  if (inv.member.empty()) return makeError(0, "an invocation needs a member name");
  return inv;
}

}  // namespace

Variant parseArgument(const std::string& word) {
  if (word == "~") return Variant::missing();
  if (word.starts_with("s:")) return Variant(word.substr(2));
  if (word == "true" || word == "false") return Variant(word == "true");
  int32_t n = 0;
  const char* end = word.data() + word.size();
  const char* begin = word.data() + (word.starts_with('+') ? 1 : 0);
  auto [ptr, ec] = std::from_chars(begin, end, n);
  if (!word.empty() && ec == std::errc() && ptr == end && begin != end) return Variant(n);
  return Variant(word);
}

Result<CallLine> parseCallLine(const Words& args) {
  CallLine line;
  size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--") && args[i] != "--"; ++i) {
    if (args[i] == "--help") {
      line.help = true;
      return line;
    }
    if (args[i] == "--design") {
      line.design = true;
    } else if (args[i] == "--app-path") {
      if (++i == args.size()) return makeError(0, "call: --app-path needs a folder");
      line.appPath = args[i];
    } else {
      return makeError(0, "call: unknown option '" + args[i] + "'");
    }
  }
  Words current;
  for (; i <= args.size(); ++i) {
    if (i == args.size() || args[i] == "--") {
      if (current.empty()) return makeError(0, "call: an empty invocation");
      auto inv = parseInvocation(current);
      if (!inv) return makeError(0, "call: " + inv.error().message);
      line.invocations.push_back(std::move(inv).value());
      current.clear();
    } else {
      current.push_back(args[i]);
    }
  }
  return line;
}

}  // namespace quelo::cli
