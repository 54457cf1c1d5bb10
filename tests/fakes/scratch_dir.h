// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <string>

namespace quelo::testing {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  // The folder, with a trailing "/".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  // Names that reach no regular file, in `folder` (a subfolder, with its trailing "/", or ""):
  // "fifo", a FIFO nobody writes to, and "zero", a symlink to /dev/zero.
  void plantNonFiles(const std::string& folder = "") const;

 private:
  std::string path_;
};

// The bytes of the file at `path`; "" when it cannot be read.
std::string fileText(const std::string& path);

}  // namespace quelo::testing
