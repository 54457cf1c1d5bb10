// A small executable script that records the arguments of every run (one run after another, in
// a log beside it) and exits with a chosen status: it stands in for a browser, a mail program or
// the print command when real programs must be started.
#pragma once

#include <string>
#include <vector>

#include "fakes/scratch_dir.h"

namespace quelo::testing {

class RecordingProgram {
 public:
  // `keepsDocument`: each run also keeps a copy of the file its last argument names, as the print
  // command is given a document that is gone once it has ended.
  RecordingProgram(const ScratchDir& dir, const std::string& name, int exitStatus = 0, bool keepsDocument = false);

  const std::string& path() const { return path_; }
  // The argument vectors of the runs so far (without the program name).
  std::vector<std::vector<std::string>> calls() const;
  // The documents kept, one per run, in order.
  std::vector<std::string> documents() const;

 private:
  std::string path_, log_, documents_;
};

}  // namespace quelo::testing
