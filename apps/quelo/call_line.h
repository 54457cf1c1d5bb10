// The command line of `quelo call`, read into options and invocations without running anything.
#pragma once

#include <string>
#include <vector>

#include "commands.h"
#include "automation/dispatch.h"
#include "automation/status.h"

namespace quelo::cli {

struct Invocation {
  std::string member;
  InvokeKind kind = InvokeKind::Method;
  Args args;
};

struct CallLine {
  bool help = false;  // --help: nothing else is read
  bool design = false;
  std::string appPath;
  std::vector<Invocation> invocations;
};

// An integer literal is a Long, true/false a Boolean, ~ the omitted argument, s:TEXT the string
// TEXT, anything else the word as a string.
Variant parseArgument(const std::string& word);
// The options, then the invocations between "--"; an Error holds the usage message.
Result<CallLine> parseCallLine(const Words& args);

}  // namespace quelo::cli
