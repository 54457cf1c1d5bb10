#include "fakes/recording_program.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

namespace quelo::testing {

RecordingProgram::RecordingProgram(const ScratchDir& dir, const std::string& name, int exitStatus, bool keepsDocument)
    : path_(dir / name), log_(dir / (name + ".calls")), documents_(dir / (name + ".documents/")) {
  // The paths come from a scratch folder: no quote can be in them.
  const std::string keep = keepsDocument ? "mkdir -p '" + documents_ + "'; for a in \"$@\"; do last=$a; done; cp \"$last\" '" +
                                               documents_ + "'$(ls '" + documents_ + "' | wc -l)\n"
                                         : "";
  dir.write(name, "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >> '" + log_ + "'\n" +
                      keep + "exit " + std::to_string(exitStatus) + "\n");
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

std::vector<std::string> RecordingProgram::documents() const {
  std::vector<std::string> kept;
  for (size_t n = 0;; ++n) {
    std::ifstream in(documents_ + std::to_string(n), std::ios::binary);
    if (!in) return kept;
    kept.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
}

}  // namespace quelo::testing
