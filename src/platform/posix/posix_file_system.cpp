// The real file system: POSIX calls, buffered output with every failure reported.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"

namespace quelo {
namespace {

Error sysError(const std::string& what, const std::string& path) {
  const int code = errno == ENOENT ? err::kFileNotFound : errno == ENOTDIR ? err::kPathNotFound : err::kIoError;
  return makeError(code, what + " '" + path + "': " + std::strerror(errno));
}

Status writeAll(int fd, const char* data, size_t size, const std::string& path) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return sysError("Cannot write", path);
    data += n;
    size -= static_cast<size_t>(n);
  }
  return Status::ok();
}

class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) (void)close();
  }
  Status write(std::string_view bytes) override {
    if (fd_ < 0) return makeError(err::kIoError, "File already closed: " + path_);
    if (buffer_.size() + bytes.size() > kBufferSize) {
      Status s = flush();
      if (!s) return s;
      if (bytes.size() >= kBufferSize) return writeAll(fd_, bytes.data(), bytes.size(), path_);
    }
    buffer_.append(bytes);
    return Status::ok();
  }
  Status close() override {
    if (fd_ < 0) return Status::ok();
    Status s = flush();
    if (::close(fd_) != 0 && s) s = sysError("Cannot close", path_);
    fd_ = -1;
    return s;
  }

 private:
  static constexpr size_t kBufferSize = 1 << 16;
  Status flush() {
    Status s = writeAll(fd_, buffer_.data(), buffer_.size(), path_);
    buffer_.clear();
    return s;
  }
  int fd_;
  std::string path_;
  std::string buffer_;
};

// Up to `maxBytes` bytes from the start of `fd`, when it is a regular file.
Result<std::string> readRegularPrefix(int fd, size_t maxBytes, const std::string& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return sysError("Cannot read", path);
  if (!S_ISREG(st.st_mode)) return makeError(err::kIoError, "Not a regular file '" + path + "'");
  std::string data;
  char buf[1 << 16];
  while (data.size() < maxBytes) {
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes - data.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return sysError("Cannot read", path);
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  return data;
}

}  // namespace

bool FileSystem::isDirectory(const std::string& path) {
  auto info = stat(path);
  return info && info.value().isDirectory;
}

Result<FileInfo> PosixFileSystem::stat(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return sysError("Cannot find", path);
  FileInfo info;
  info.isDirectory = S_ISDIR(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.modified = std::chrono::system_clock::time_point(std::chrono::seconds(st.st_mtim.tv_sec) +
                                                        std::chrono::nanoseconds(st.st_mtim.tv_nsec));
  info.writable = (st.st_mode & S_IWUSR) != 0;
  return info;
}

Result<std::vector<DirEntry>> PosixFileSystem::list(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return sysError("Cannot list", dir);
  std::vector<DirEntry> entries;
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool isDir = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st {};
      const std::string full = dir + (dir.ends_with('/') ? "" : "/") + name;
      isDir = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back({name, isDir});
  }
  ::closedir(d);
  return entries;
}

Status PosixFileSystem::createDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0) return sysError("Cannot create folder", path);
  return Status::ok();
}

Status PosixFileSystem::setWritable(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return sysError("Cannot find", path);
  if (::chmod(path.c_str(), (st.st_mode | S_IWUSR) & 07777) != 0) return sysError("Cannot change mode of", path);
  return Status::ok();
}

Status PosixFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
  auto data = readFile(from);
  if (!data) return data.error();
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_EXCL);
  const int fd = ::open(to.c_str(), flags, 0666);
  if (fd < 0) return sysError("Cannot create", to);
  Status s = writeAll(fd, data.value().data(), data.value().size(), to);
  if (::close(fd) != 0 && s) s = sysError("Cannot close", to);
  if (!s) ::unlink(to.c_str());
  return s;
}

// A rename that never replaces: renameat2 where the file system has it, else a hard link to the
// new name and the removal of the old one.
Status PosixFileSystem::moveFile(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Status::ok();
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return sysError("Cannot rename", from);
  if (::link(from.c_str(), to.c_str()) != 0) return sysError("Cannot rename", from);
  if (::unlink(from.c_str()) != 0) {
    const Error e = sysError("Cannot rename", from);
    ::unlink(to.c_str());
    return e;
  }
  return Status::ok();
}

Status PosixFileSystem::remove(const std::string& path) {
  if (::remove(path.c_str()) != 0) return sysError("Cannot delete", path);
  return Status::ok();
}

Result<std::string> PosixFileSystem::readFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot open", path);
  std::string data;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const Error e = sysError("Cannot read", path);
      ::close(fd);
      return e;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::open(const std::string& path, Mode mode) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return sysError("Cannot open", path);
  return std::unique_ptr<OutputFile>(std::make_unique<PosixOutputFile>(fd, path));
}

// The kernel appends one write(2) on an O_APPEND descriptor of a regular file as a whole, so
// concurrent appends never interleave. Only a full disk or a signal cuts it short; the rest then
// follows at once.
Status PosixFileSystem::appendWhole(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return sysError("Cannot open", path);
  Status s = writeAll(fd, bytes.data(), bytes.size(), path);
  if (::close(fd) != 0 && s) s = sysError("Cannot close", path);
  return s;
}

Result<std::string> PosixFileSystem::readPrefix(const std::string& path, size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot open", path);
  Result<std::string> read = readRegularPrefix(fd, maxBytes, path);
  ::close(fd);
  return read;
}

}  // namespace quelo
