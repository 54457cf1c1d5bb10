// Runs a program with an argument vector (no shell) and collects its output and exit status.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quelo::testing {

struct ProcessResult {
  int exitCode = -1;  // 128 + N when killed by signal N
  int signal = 0;     // N when killed by signal N, else 0
  std::string out, err;
};

// `env` entries are set (an empty value unsets) on top of the current environment.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {},
                         const std::string& input = "");

// Like runProcess, and while the program runs `watch` is called with its process id every few
// milliseconds until it returns true: a test can signal the program at the moment it chooses.
ProcessResult runProcessWatched(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                                const std::function<bool(pid_t)>& watch);

// `argv` run with its memory capped at a modest size (its address space; its resident memory
// under AddressSanitizer): a program whose memory grows without bound fails instead of taking the
// machine's.
std::vector<std::string> inLittleMemory(std::vector<std::string> argv);

// The quelo command line built with the tests.
ProcessResult runQuelo(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {});

}  // namespace quelo::testing
