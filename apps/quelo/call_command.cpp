// quelo call: invocations by name on one control instance, as a host's script would make them.
#include <cstdlib>
#include <iostream>

#include "call_line.h"
#include "component/component.h"
#include "control/default_services.h"
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

std::string display(const Variant& v) {
  if (v.isNull()) return "Null";
  if (v.isObject()) return v.asObject() ? "[Object]" : "Nothing";
  if (v.isArray()) return "[Array]";
  if (v.isMissing()) return "";
  return toString(v).valueOr("");
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
  auto line = parseCallLine(args);
  if (!line) return usageError(line.error().message, "call");
  if (line.value().help) {
    std::cout << kHelp;
    return kExitOk;
  }
  std::vector<Invocation>& invocations = line.value().invocations;

  auto component = std::make_shared<Component>();
  component->applicationPath = absoluteFolder(line.value().appPath);
  auto services = makeDefaultServices();
  HeadlessSite site;
  site.userMode = !line.value().design;
  HeadlessWindow window;
  auto control = ZeQuelo::create(component, services->platform(), site, window);
  control->initProperties();

  for (Invocation& inv : invocations) {
    auto result = control->invoke(inv.member, inv.kind, inv.args);
    if (!result) {
      std::cerr << "error " << result.error().number << ": " << result.error().message << "\n";
      hintAtExpandedTilde(inv);
      control->terminate();
      tellSettingsProblem(services->settingsProblem());
      return kExitFalse;
    }
    printOutcome(inv, result.value());
  }
  control->terminate();
  tellSettingsProblem(services->settingsProblem());
  return kExitOk;
}

}  // namespace quelo::cli
