// Programs run from an argument vector with fork and execvp: never through a command interpreter,
// so no character of an argument is ever interpreted. Standard input is /dev/null; signals,
// their mask and inherited file descriptors are reset for the new program.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct ProcessOptions {
  // "NAME=value" entries of the program's environment; empty means this process's own.
  std::vector<std::string> environment;
  // The program's working folder; empty means this process's own.
  std::string workingDirectory;
  // How long to wait for the program to end.
  std::chrono::milliseconds waitLimit{5000};
  // false (a launch): standard output goes to our standard error, and a program still running at
  //   the wait limit counts as started and runs on by itself, in a session of its own.
  // true: standard output comes back, and a program still running at the limit is killed.
  bool captureOutput = false;
};

struct ProcessOutcome {
  bool finished = false;  // false: a launch still running at the wait limit
  int exitStatus = 0;     // when finished: the exit code, or 128 + the signal that ended it
  std::string output;     // the captured standard output
};

// Errors: an empty vector or an argument holding a NUL byte (kInvalidProcedureCall), a program
// that is not found (kFileNotFound) or cannot be run, a captured run that outlives its limit.
Result<ProcessOutcome> runProcess(const std::vector<std::string>& argv, const ProcessOptions& options);

}  // namespace quelo
