#include <unistd.h>

#include <iostream>

#include "commands.h"
#include "files/path_rules.h"

namespace quelo::cli {

int usageError(const std::string& message, const std::string& command) {
  std::cerr << "quelo: " << message << " (see 'quelo " << (command.empty() ? "" : command + " ") << "--help')\n";
  return kExitUsage;
}

void tellSettingsProblem(const std::string& problem) {
  if (!problem.empty())
    std::cerr << "quelo: " << problem << "; working with the default report preferences\n";
}

std::string absoluteFolder(const std::string& dir) {
  std::string path = dir;
  if (path.empty() || path.front() != '/') {
    char cwd[4096];
    const std::string base = getcwd(cwd, sizeof cwd) ? cwd : ".";
    path = path.empty() || path == "." ? base : base + "/" + path;
  }
  if (!path.ends_with('/')) path += '/';
  return path;
}

}  // namespace quelo::cli
