// A private scratch file for data too large to hold in memory: mode 0600 in $TMPDIR (else /tmp),
// nameless from the start or unlinked at once, so nothing is left behind however the process ends.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/status.h"

namespace quelo {

class ScratchFile {
 public:
  static Result<std::unique_ptr<ScratchFile>> create();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Appends at the end, through a buffer.
  Status append(std::string_view bytes);
  // Writes out the buffer and goes back to the start for reading.
  Status rewind();
  // Up to `size` more bytes; 0 at the end.
  Result<size_t> read(char* buffer, size_t size);

 private:
  ScratchFile(int fd, std::string folder) : fd_(fd), folder_(std::move(folder)) {}
  Status flush();

  int fd_;
  std::string folder_;
  std::string buffer_;
};

}  // namespace quelo
