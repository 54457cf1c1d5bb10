// The real file system: POSIX calls; files are replaced whole and every failure is reported.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/read_watch.h"

namespace quelo {
namespace {

// A full disk, an exhausted quota and the file size limit are one error: no file can grow.
int errorNumber(int code) {
  switch (code) {
    case ENOENT:
      return err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::kDiskFull;
    default:
      return err::kIoError;
  }
}

Error sysError(const std::string& what, const std::string& path) {
  const int code = errno;
  return makeError(errorNumber(code), what + " '" + path + "': " + std::strerror(code));
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

// Writes the pieces in order, as many in a call as the kernel takes.
Status writeAllPieces(int fd, std::vector<iovec> pieces, const std::string& path) {
  size_t first = 0;
  while (first < pieces.size()) {
    const auto count = static_cast<int>(std::min<size_t>(pieces.size() - first, IOV_MAX));
    const ssize_t n = ::writev(fd, &pieces[first], count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return sysError("Cannot write", path);
    // Past the pieces written whole, and into the one written in part.
    for (auto left = static_cast<size_t>(n); left > 0;) {
      iovec& piece = pieces[first];
      const size_t taken = std::min(left, piece.iov_len);
      piece.iov_base = static_cast<char*>(piece.iov_base) + taken;
      piece.iov_len -= taken;
      left -= taken;
      if (piece.iov_len == 0) ++first;
    }
  }
  return Status::ok();
}

// Updates are built under ".Quelo-update-" and six random letters or digits. Report pages are
// named in lower case and the log has a fixed name, so no report or log ever takes one for its
// own; what a killed run left is recognised by the name alone.
constexpr std::string_view kUpdatePrefix = ".Quelo-update-";
constexpr size_t kUpdateRandomLength = 6;

bool isUpdateLeftover(std::string_view name) {
  return name.starts_with(kUpdatePrefix) &&
         name.size() == kUpdatePrefix.size() + kUpdateRandomLength;
}

// A new temporary name in `folder` (ending in "/"), made by `create`; its result, or -1 with
// errno set.
template <class Create>
int createUpdateName(const std::string& folder, std::string& path, Create create) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    // The kernel's random bytes: no generator state shared by the threads that write pages.
    unsigned char bytes[kUpdateRandomLength];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return -1;
    path = folder;
    path += kUpdatePrefix;
    for (unsigned char byte : bytes) path += kLetters[byte % (sizeof kLetters - 1)];
    const int result = create(path);
    if (result >= 0 || errno != EEXIST) return result;
  }
  return -1;
}

// A new temporary in `folder`, created with permission bits `mode` less the umask; its
// descriptor.
int createUpdateTemporary(const std::string& folder, std::string& path, unsigned mode = 0666) {
  return createUpdateName(folder, path, [mode](const std::string& name) {
    return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  });
}

// Removes the run folder at `path`, open as `fd` and locked: its files, then itself.
void removeRunFolder(int fd, const std::string& path) {
  if (DIR* d = ::fdopendir(::dup(fd))) {
    while (dirent* e = ::readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
        ::unlinkat(fd, e->d_name, 0);
    ::closedir(d);
  }
  ::rmdir(path.c_str());
}

// Removes a run folder that no run holds; one in use is left alone.
void removeIdleRunFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) removeRunFolder(fd, path);
  ::close(fd);
}

Result<std::string> readAll(int fd, const std::string& path) {
  std::string data;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return sysError("Cannot read", path);
    if (n == 0) return data;
    data.append(buf, static_cast<size_t>(n));
  }
}

// A file being read. One that can keep its reader waiting (a named pipe, a device) is open
// without blocking and waited on in short turns, so that a stopped read stops waiting.
class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, std::string path, bool waits)
      : fd_(fd), path_(std::move(path)), waits_(waits) {}
  ~PosixInputFile() override { ::close(fd_); }
  Result<size_t> read(char* buffer, size_t size) override {
    for (;;) {
      if (waits_)
        if (Status s = awaitBytes(); !s) return s.error();
      const ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR && errno != EAGAIN) return sysError("Cannot read", path_);
    }
  }

 private:
  static constexpr int kTurnMs = 100;

  Status awaitBytes() const {
    pollfd p{fd_, POLLIN, 0};
    for (;;) {
      if (readStopRequested()) return readStopped();
      const int ready = ::poll(&p, 1, kTurnMs);
      if (ready > 0) return Status::ok();
      if (ready < 0 && errno != EINTR) return sysError("Cannot read", path_);
    }
  }

  int fd_;
  std::string path_;
  bool waits_;
};

// Renames without replacing: renameat2 where the file system has it, else a hard link to the new
// name and the removal of the old one. False with errno set when it fails.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  if (::unlink(from.c_str()) == 0) return true;
  const int code = errno;
  ::unlink(to.c_str());
  errno = code;
  return false;
}

class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { ::close(fd_); }

 private:
  int fd_;
};

// A run folder's lock; the folder goes with it.
class PosixRunFolderLock : public FolderLock {
 public:
  PosixRunFolderLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixRunFolderLock() override {
    removeRunFolder(fd_, path_);
    ::close(fd_);
  }

 private:
  int fd_;
  std::string path_;
};

// The new version of a file, or a new file, written through a buffer into its temporary. Every
// error names the file it stands for, not the temporary.
class PosixUpdate : public OutputFile {
 public:
  // over the file, only where there is none, or nowhere: written under its own name
  enum class Put { Replacing, Beside, Written };
  PosixUpdate(int fd, std::string temporary, std::string target, Put put = Put::Replacing)
      : fd_(fd), temporary_(std::move(temporary)), target_(std::move(target)), put_(put) {}
  ~PosixUpdate() override { discard(); }
  Status write(std::string_view bytes) override {
    if (fd_ < 0) return makeError(err::kIoError, "File already closed: " + target_);
    if (failed_) return *failed_;
    if (buffer_.size() + bytes.size() > kBufferSize) {
      if (Status s = flush(); !s) return s;
      if (bytes.size() >= kBufferSize)
        return remember(writeAll(fd_, bytes.data(), bytes.size(), target_));
    }
    buffer_.append(bytes);
    return Status::ok();
  }
  // The bytes still in the buffer go first, in the same call.
  Status writePieces(std::span<const std::string_view> pieces) override {
    if (fd_ < 0) return makeError(err::kIoError, "File already closed: " + target_);
    if (failed_) return *failed_;
    std::vector<iovec> all;
    all.reserve(pieces.size() + 1);
    if (!buffer_.empty()) all.push_back({buffer_.data(), buffer_.size()});
    for (std::string_view piece : pieces)
      if (!piece.empty()) all.push_back({const_cast<char*>(piece.data()), piece.size()});
    Status s = writeAllPieces(fd_, std::move(all), target_);
    buffer_.clear();
    return remember(s);
  }
  Status close() override {
    if (fd_ < 0) return makeError(err::kIoError, "File already closed: " + target_);
    Status s = failed_ ? *failed_ : flush();
    if (::close(fd_) != 0 && s) s = sysError("Cannot write", target_);
    fd_ = -1;
    if (s) s = putInPlace();
    if (s) temporary_.clear();
    discard();
    return s;
  }

 private:
  static constexpr size_t kBufferSize = 1 << 16;
  Status putInPlace() {
    if (put_ == Put::Written) return Status::ok();
    if (put_ == Put::Replacing)
      return ::rename(temporary_.c_str(), target_.c_str()) == 0
                 ? Status::ok()
                 : Status(sysError("Cannot replace", target_));
    if (renameWithoutReplacing(temporary_, target_)) return Status::ok();
    if (errno != EEXIST) return sysError("Cannot create", target_);
    return makeError(err::kFileAlreadyExists, "Cannot create '" + target_ + "': the name is taken");
  }
  Status flush() {
    Status s = writeAll(fd_, buffer_.data(), buffer_.size(), target_);
    buffer_.clear();
    return remember(s);
  }
  // A write that failed may have left part of its bytes: the update can only be dropped.
  Status remember(Status s) {
    if (!s && !failed_) failed_ = s;
    return s;
  }
  void discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
  }
  int fd_;
  std::string temporary_, target_;
  Put put_;
  std::string buffer_;
  std::optional<Status> failed_;
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

// The folder part of `path` with its "/", or "./".
std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

Error linkRefused(const std::string& path) {
  return makeError(err::kPermissionDenied, "Cannot write '" + path + "': it is a symbolic link");
}

// The present file at `path` opened for reading, or -1 when there is none; a link or anything
// but a regular file is refused.
Result<int> openPresent(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return -1;
    return sysError("Cannot write", path);
  }
  if (S_ISLNK(st.st_mode)) return linkRefused(path);
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return sysError("Cannot write", path);
  }
  if (!S_ISREG(st.st_mode))
    return makeError(err::kIoError, "Cannot write '" + path + "': not a regular file");
  // A link or a FIFO put there since lstat is refused here, without blocking.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ELOOP) return linkRefused(path);
    return sysError("Cannot read", path);
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return makeError(err::kIoError, "Cannot write '" + path + "': not a regular file");
  }
  return fd;
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
  info.modified = std::chrono::system_clock::time_point(
      std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec));
  info.writable = (st.st_mode & S_IWUSR) != 0;
  return info;
}

bool PosixFileSystem::isSymlink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
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

Status PosixFileSystem::moveFile(const std::string& from, const std::string& to) {
  if (renameWithoutReplacing(from, to)) return Status::ok();
  return sysError("Cannot rename", from);
}

Status PosixFileSystem::remove(const std::string& path) {
  if (::remove(path.c_str()) != 0) return sysError("Cannot delete", path);
  return Status::ok();
}

Result<std::string> PosixFileSystem::readFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot open", path);
  Result<std::string> data = readAll(fd, path);
  ::close(fd);
  return data;
}

Result<std::unique_ptr<InputFile>> PosixFileSystem::openForReading(const std::string& path) {
  // Opening a named pipe without blocking does not wait for its writer: reading waits instead.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return sysError("Cannot open", path);
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (regular) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::unique_ptr<InputFile>(std::make_unique<PosixInputFile>(fd, path, !regular));
}

Result<RegularFile> PosixFileSystem::openRegular(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 && errno == ELOOP)
    return makeError(err::kPermissionDenied, "Cannot read '" + path + "': it is a symbolic link");
  if (fd < 0) return sysError("Cannot open", path);
  struct stat st {};
  const bool known = ::fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    const Error e = known ? makeError(err::kIoError, "Not a regular file '" + path + "'")
                          : sysError("Cannot read", path);
    ::close(fd);
    return e;
  }
  // Reading a regular file never waits, O_NONBLOCK or not.
  return RegularFile{std::make_unique<PosixInputFile>(fd, path, false),
                     static_cast<uint64_t>(st.st_size), st.st_mode & 07777u};
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::beginCreate(const std::string& path,
                                                                 unsigned mode) {
  std::string temporary;
  const int fd = createUpdateTemporary(folderOf(path), temporary, mode);
  if (fd < 0) return sysError("Cannot create", path);
  return std::unique_ptr<OutputFile>(
      std::make_unique<PosixUpdate>(fd, temporary, path, PosixUpdate::Put::Beside));
}

Result<std::unique_ptr<FolderLock>> PosixFileSystem::lockFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot open folder", folder);
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  return std::unique_ptr<FolderLock>(std::make_unique<PosixFolderLock>(fd));
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::beginUpdate(const std::string& path,
                                                                 std::string_view newFilePrefix) {
  auto present = openPresent(path);
  if (!present) return present.error();
  const int old = present.value();
  std::string temporary;
  const int fd = createUpdateTemporary(folderOf(path), temporary);
  if (fd < 0) {
    const Error e = sysError("Cannot write", path);
    if (old >= 0) ::close(old);
    return e;
  }
  auto update = std::make_unique<PosixUpdate>(fd, temporary, path);
  if (old < 0) {
    if (Status s = update->write(newFilePrefix); !s) return s.error();
    return std::unique_ptr<OutputFile>(std::move(update));
  }
  // The page keeps its mode, made writable by its owner as a page written to always was.
  struct stat st {};
  Result<std::string> content = ::fstat(old, &st) == 0
                                    ? readAll(old, path)
                                    : Result<std::string>(sysError("Cannot read", path));
  ::close(old);
  if (!content) return content.error();
  if (::fchmod(fd, (st.st_mode | S_IWUSR) & 07777) != 0) return sysError("Cannot write", path);
  if (Status s = update->write(content.value()); !s) return s.error();
  return std::unique_ptr<OutputFile>(std::move(update));
}

Result<FileSystem::RunFolder> PosixFileSystem::createRunFolder(const std::string& folder) {
  const std::string base = folder.ends_with('/') ? folder : folder + "/";
  RunFolder run;
  if (createUpdateName(base, run.path,
                       [](const std::string& name) { return ::mkdir(name.c_str(), 0700); }) != 0)
    return sysError("Cannot write in", folder);
  const int fd = ::open(run.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const Error e = sysError("Cannot write in", folder);
    if (fd >= 0) ::close(fd);
    ::rmdir(run.path.c_str());
    return e;
  }
  run.inUse = std::make_unique<PosixRunFolderLock>(fd, run.path);
  run.path += '/';
  return run;
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::beginInRunFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST)
    return makeError(err::kFileAlreadyExists, "Cannot create '" + path + "': the name is taken");
  if (fd < 0) return sysError("Cannot create", path);
  return std::unique_ptr<OutputFile>(
      std::make_unique<PosixUpdate>(fd, path, path, PosixUpdate::Put::Written));
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::continueInRunFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot write", path);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return makeError(err::kPermissionDenied, "Cannot write '" + path + "': not a regular file");
  }
  return std::unique_ptr<OutputFile>(
      std::make_unique<PosixUpdate>(fd, path, path, PosixUpdate::Put::Written));
}

Result<std::unique_ptr<OutputFile>> PosixFileSystem::beginReplacement(const std::string& path) {
  auto present = openPresent(path);
  if (!present) return present.error();
  if (present.value() >= 0) ::close(present.value());
  std::string temporary;
  const int fd = createUpdateTemporary(folderOf(path), temporary);
  if (fd < 0) return sysError("Cannot write", path);
  return std::unique_ptr<OutputFile>(std::make_unique<PosixUpdate>(fd, temporary, path));
}

Status PosixFileSystem::removeUpdateLeftovers(const std::string& folder) {
  auto entries = list(folder);
  if (!entries) return entries.error();
  const std::string base = folder.ends_with('/') ? folder : folder + "/";
  Status result;
  for (const DirEntry& e : entries.value()) {
    if (!isUpdateLeftover(e.name)) continue;
    if (e.isDirectory)
      removeIdleRunFolder(base + e.name);
    else if (::unlink((base + e.name).c_str()) != 0 && result)
      result = sysError("Cannot delete", base + e.name);
  }
  return result;
}

Result<std::string> PosixFileSystem::readPrefix(const std::string& path, size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return sysError("Cannot open", path);
  Result<std::string> read = readRegularPrefix(fd, maxBytes, path);
  ::close(fd);
  return read;
}

}  // namespace quelo
