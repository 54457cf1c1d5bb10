#include "fakes/recording_program.h"

#include <sys/stat.h>

#include <fstream>

namespace quelo::testing {

RecordingProgram::RecordingProgram(const ScratchDir& dir, const std::string& name, int exitStatus)
    : path_(dir / name), log_(dir / (name + ".calls")) {
  // The log path comes from a scratch folder: no quote can be in it.
  dir.write(name, "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >> '" + log_ +
                      "'\nexit " + std::to_string(exitStatus) + "\n");
  chmod(path_.c_str(), 0755);
}

std::vector<std::vector<std::string>> RecordingProgram::calls() const {
  std::vector<std::vector<std::string>> runs;
  std::ifstream in(log_);
  for (std::string count; std::getline(in, count);) {
    std::vector<std::string> args(static_cast<size_t>(std::stoi(count)));
    for (std::string& a : args) std::getline(in, a);
    runs.push_back(std::move(args));
  }
  return runs;
}

}  // namespace quelo::testing
