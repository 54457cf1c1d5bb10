// A program that talks over a pipe of NUL-terminated messages on its descriptors 3 (what it
// reads) and 4 (what it writes), as a browser's remote-debugging pipe does. It is started from
// an argument vector (never through a command interpreter) in a process group of its own, with
// standard input, output and error on /dev/null; dropping the object kills that group and waits
// for it, so nothing it started outlives it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/status.h"

namespace quelo {

class PipeProcess {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  // A program that cannot be found is err::kFileNotFound.
  static Result<std::unique_ptr<PipeProcess>> start(const std::vector<std::string>& argv);
  ~PipeProcess();
  PipeProcess(const PipeProcess&) = delete;
  PipeProcess& operator=(const PipeProcess&) = delete;

  Status send(std::string_view message, Deadline deadline);
  // The next message; an error when the program closes the pipe or the deadline passes first.
  Result<std::string> receive(Deadline deadline);

 private:
  PipeProcess(pid_t pid, int fd) : pid_(pid), fd_(fd) {}

  pid_t pid_;
  int fd_;
  std::string buffered_;
};

}  // namespace quelo
