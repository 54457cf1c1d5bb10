#include "platform/scratch_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace quelo {
namespace {

constexpr size_t kBufferSize = 1 << 16;

// Errors name the folder, so that a full or missing $TMPDIR is plain.
Error scratchError(const std::string& folder, const std::string& what) {
  const int code = errno;
  return makeError(code == ENOSPC || code == EDQUOT || code == EFBIG ? err::kDiskFull : err::kIoError,
                   "the rows' scratch file in " + folder + " " + what + ": " + std::strerror(code));
}

std::string scratchFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

// A file without a name where the file system allows it, else one named for an instant.
int openNameless(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
  std::string name = folder + "/quelo-scratch-XXXXXX";
  const int named = ::mkostemp(name.data(), O_CLOEXEC);  // 0600
  if (named >= 0) ::unlink(name.c_str());
  return named;
}

}  // namespace

Result<std::unique_ptr<ScratchFile>> ScratchFile::create() {
  const std::string folder = scratchFolder();
  const int fd = openNameless(folder);
  if (fd < 0) return scratchError(folder, "cannot be created");
  return std::unique_ptr<ScratchFile>(new ScratchFile(fd, folder));
}

ScratchFile::~ScratchFile() { ::close(fd_); }

Status ScratchFile::append(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kBufferSize)
    if (Status s = flush(); !s) return s;
  buffer_.append(bytes);
  return Status::ok();
}

Status ScratchFile::flush() {
  const char* data = buffer_.data();
  size_t left = buffer_.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return scratchError(folder_, "cannot be written");
    data += n;
    left -= static_cast<size_t>(n);
  }
  buffer_.clear();
  return Status::ok();
}

Result<size_t> ScratchFile::readAt(uint64_t offset, char* buffer, size_t size) const {
  for (;;) {
    const ssize_t n = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) return scratchError(folder_, "cannot be read");
  }
}

}  // namespace quelo
