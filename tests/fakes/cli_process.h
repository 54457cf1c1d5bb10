// The quelo command line run as a child process, in a folder and with environment variables of
// the test's choosing; its output and exit status are collected when it is waited for.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace quelo::testing {

struct CliOutcome {
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string out, err;
};

class CliProcess {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;
  // Starts QUELO_CLI with `args`; an empty `folder` keeps the test's current folder.
  CliProcess(const std::vector<std::string>& args, const std::string& folder = "", const Environment& env = {});
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  CliOutcome wait();

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
};

inline CliOutcome runCli(const std::vector<std::string>& args, const std::string& folder = "",
                         const CliProcess::Environment& env = {}) {
  return CliProcess(args, folder, env).wait();
}

}  // namespace quelo::testing
