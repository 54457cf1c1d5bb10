// quelo call: invocations by name on one control instance, as a host's script would make them.
#include <charconv>
#include <cstdlib>
#include <iostream>

#include "commands.h"
#include "control/shared_state.h"
#include "control/type_library.h"
#include "control/ze_quelo.h"
#include "platform/headless/headless_site.h"

namespace quelo::cli {
namespace {

constexpr const char* kHelp = R"(usage: quelo call [--design] [--app-path DIR] INVOCATION [-- INVOCATION]...

Runs the invocations in order on one new control, by member name (any case).
  INVOCATION   MEMBER [ARG...]   call a method, or read a property
               MEMBER=VALUE      write a property
  ARG, VALUE   an integer literal is a Long, true/false a Boolean, ~ omits an optional argument
               (quote it, '~': the shell turns a bare ~ into your home folder), s:TEXT is the
               string TEXT, anything else is a string

For each invocation prints its result on one line (nothing for a member without a result), then
NAME=VALUE for each by-reference argument it was passed. Booleans print True/False, an empty value
an empty line. An error raised by an invocation prints "error N: MESSAGE" on stderr and stops.

options:
  --design         run the control in design mode (the host's user mode is false)
  --app-path DIR   the shared application path (default: the current folder)

exit status: 0; 1 when an invocation raised an error; 2 on a usage error
)";

struct Invocation {
  std::string member;
  InvokeKind kind = InvokeKind::Method;
  Args args;
};

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

std::string display(const Variant& v) {
  if (v.isNull()) return "Null";
  if (v.isObject()) return v.asObject() ? "[Object]" : "Nothing";
  if (v.isArray()) return "[Array]";
  if (v.isMissing()) return "";
  return toString(v).valueOr("");
}

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

// The shell turns a bare ~ into the home folder before quelo sees it; a failed call that was
// given exactly that folder most likely meant to omit the argument, so stderr says so.
void hintAtExpandedTilde(const Invocation& inv) {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return;
  for (const Variant& a : inv.args)
    if (a.isString() && a.asString() == home) {
      std::cerr << "note: the shell turned a bare ~ into " << home
                << "; write '~' to omit an argument\n";
      return;
    }
}

void printOutcome(const Invocation& inv, const Variant& result) {
  const MemberInfo* m = zeQueloTypeLibrary().findMember(inv.member);
  const bool hasResult = inv.kind == InvokeKind::PropertyGet || (m && m->resultType) || !m;
  if (hasResult) std::cout << display(result) << "\n";
  if (!m) return;
  for (size_t i = 0; i < inv.args.size() && i < m->params.size(); ++i)
    if (m->params[i].byRef && !inv.args[i].isMissing()) std::cout << m->params[i].name << "=" << display(inv.args[i]) << "\n";
}

}  // namespace

int callCommand(const Words& args) {
  bool design = false;
  std::string appPath;
  size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--") && args[i] != "--"; ++i) {
    if (args[i] == "--help") {
      std::cout << kHelp;
      return kExitOk;
    }
    if (args[i] == "--design") {
      design = true;
    } else if (args[i] == "--app-path") {
      if (++i == args.size()) return usageError("call: --app-path needs a folder");
      appPath = args[i];
    } else {
      return usageError("call: unknown option '" + args[i] + "'");
    }
  }
  std::vector<Invocation> invocations;
  Words current;
  for (; i <= args.size(); ++i) {
    if (i == args.size() || args[i] == "--") {
      if (current.empty()) return usageError("call: an empty invocation");
      auto inv = parseInvocation(current);
      if (!inv) return usageError("call: " + inv.error().message);
      invocations.push_back(std::move(inv).value());
      current.clear();
    } else {
      current.push_back(args[i]);
    }
  }

  sharedState().applicationPath = absoluteFolder(appPath);
  HeadlessPlatform services;
  HeadlessSite site;
  site.userMode = !design;
  HeadlessWindow window;
  auto control = ZeQuelo::create(services.platform(), site, window);
  control->initProperties();

  for (Invocation& inv : invocations) {
    auto result = control->invoke(inv.member, inv.kind, inv.args);
    if (!result) {
      std::cerr << "error " << result.error().number << ": " << result.error().message << "\n";
      hintAtExpandedTilde(inv);
      control->terminate();
      tellSettingsProblem(services.settings);
      return kExitFalse;
    }
    printOutcome(inv, result.value());
  }
  control->terminate();
  tellSettingsProblem(services.settings);
  return kExitOk;
}

}  // namespace quelo::cli
