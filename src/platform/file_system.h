// FileSystem: every file the system reads or writes goes through here, so tests can run on a
// scratch folder and inject failures (a full disk, a folder that cannot be written).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace quelo {

struct FileInfo {
  bool isDirectory = false;
  uint64_t size = 0;
  std::chrono::system_clock::time_point modified;
  bool writable = true;  // by its owner
};

struct DirEntry {
  std::string name;
  bool isDirectory = false;
};

// A file opened for writing; bytes reach the disk by close() at the latest. A write or close
// that fails says so: nothing is lost silently.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual Status write(std::string_view bytes) = 0;
  virtual Status close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual Result<FileInfo> stat(const std::string& path) = 0;
  bool exists(const std::string& path) { return stat(path).isOk(); }
  bool isDirectory(const std::string& path);
  virtual Result<std::vector<DirEntry>> list(const std::string& dir) = 0;
  // One level: the parent must exist.
  virtual Status createDirectory(const std::string& path) = 0;
  virtual Status setWritable(const std::string& path) = 0;
  // Fails when `to` exists and overwrite is false.
  virtual Status copyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
  // Gives a file a new name in the same file system; fails when `to` exists. Writers that hold
  // the file open keep writing into it under its new name. The default copies and deletes.
  virtual Status moveFile(const std::string& from, const std::string& to);
  virtual Status remove(const std::string& path) = 0;
  virtual Result<std::string> readFile(const std::string& path) = 0;
  enum class Mode { Truncate, Append };
  virtual Result<std::unique_ptr<OutputFile>> open(const std::string& path, Mode mode) = 0;
  // Adds `bytes` at the end of the file (created when missing) in one piece: what other writers
  // append at the same time lands before or after it, never inside. The default opens, writes
  // and closes, which is whole only when nobody else writes.
  virtual Status appendWhole(const std::string& path, std::string_view bytes);
  // The first `maxBytes` bytes of a regular file (fewer when it is shorter); anything else (a
  // folder, a FIFO, a device) is refused without waiting for it.
  virtual Result<std::string> readPrefix(const std::string& path, size_t maxBytes) = 0;
};

// The real file system.
class PosixFileSystem : public FileSystem {
 public:
  Result<FileInfo> stat(const std::string& path) override;
  Result<std::vector<DirEntry>> list(const std::string& dir) override;
  Status createDirectory(const std::string& path) override;
  Status setWritable(const std::string& path) override;
  Status copyFile(const std::string& from, const std::string& to, bool overwrite) override;
  Status moveFile(const std::string& from, const std::string& to) override;
  Status remove(const std::string& path) override;
  Result<std::string> readFile(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> open(const std::string& path, Mode mode) override;
  // One write(2) on a descriptor opened with O_APPEND.
  Status appendWhole(const std::string& path, std::string_view bytes) override;
  // Opened without blocking (a FIFO cannot hold it up), then checked on the descriptor.
  Result<std::string> readPrefix(const std::string& path, size_t maxBytes) override;
};

}  // namespace quelo
