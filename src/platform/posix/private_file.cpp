#include "platform/posix/private_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

namespace quelo {

std::string temporaryDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

PrivateFile::PrivateFile(const std::string& pattern) {
  const std::string folder = temporaryDirectory();
  path_ = folder + (folder.ends_with('/') ? "" : "/") + pattern;
  const size_t x = pattern.find("XXXXXX");
  const int suffix = x == std::string::npos ? 0 : static_cast<int>(pattern.size() - x - 6);
  fd_ = mkostemps(path_.data(), suffix, O_CLOEXEC);  // mode 0600
  if (fd_ < 0) error_ = errno;
}

PrivateFile::~PrivateFile() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(path_.c_str());
}

Status PrivateFile::write(std::string_view content) {
  if (fd_ < 0)
    return makeError(err::kIoError,
                     "No private temporary file in " + path_ + ": " + std::strerror(error_));
  while (!content.empty()) {
    const ssize_t n = ::write(fd_, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0)
      return makeError(errno == ENOSPC ? err::kDiskFull : err::kIoError,
                       "Cannot write " + path_ + ": " + std::strerror(errno));
    content.remove_prefix(static_cast<size_t>(n));
  }
  return Status::ok();
}

}  // namespace quelo
