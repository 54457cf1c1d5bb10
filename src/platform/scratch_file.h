// A private scratch file for data too large to hold in memory: mode 0600 in $TMPDIR (else /tmp),
// nameless from the start or unlinked at once, so nothing is left behind however the process ends.
// Bytes are appended through a buffer and read back at any offset, so that one thread may read
// what another has written out while it goes on appending.
#pragma once

#include <cstdint>
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
  // Writes out the buffer: the bytes appended so far can be read.
  Status flush();
  // Up to `size` bytes written out, from `offset` on; 0 at the end.
  Result<size_t> readAt(uint64_t offset, char* buffer, size_t size) const;

 private:
  ScratchFile(int fd, std::string folder) : fd_(fd), folder_(std::move(folder)) {}

  int fd_;
  std::string folder_;
  std::string buffer_;
};

}  // namespace quelo
