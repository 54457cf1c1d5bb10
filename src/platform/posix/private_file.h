// A temporary file only this user can read, in $TMPDIR (or /tmp), removed when dropped: a
// document handed to another program by name.
#pragma once

#include <string>
#include <string_view>

#include "automation/status.h"

namespace quelo {

// $TMPDIR, or /tmp when it is not set.
std::string temporaryDirectory();

class PrivateFile {
 public:
  // `pattern`: the name, with XXXXXX where a unique part goes, optionally followed by a suffix.
  explicit PrivateFile(const std::string& pattern);
  ~PrivateFile();
  PrivateFile(const PrivateFile&) = delete;
  PrivateFile& operator=(const PrivateFile&) = delete;

  // Writes the whole content; a failure (a full disk) says so.
  Status write(std::string_view content);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace quelo
