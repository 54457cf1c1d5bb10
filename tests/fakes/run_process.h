// Runs a program with an argument vector (no shell) and collects its output and exit status.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quelo::testing {

struct ProcessResult {
  int exitCode = -1;  // 128 + N when killed by signal N
  std::string out, err;
};

// `env` entries are set (an empty value unsets) on top of the current environment.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {},
                         const std::string& input = "");

// The quelo command line built with the tests.
ProcessResult runQuelo(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {});

}  // namespace quelo::testing
