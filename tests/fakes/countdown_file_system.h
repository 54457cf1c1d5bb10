// CountdownFileSystem: a FileSystem whose Nth operation fails as a disk or the kernel would fail
// it: once, or that one and every one after it. A test runs a job once without a fault to count
// its operations, then once for each N, so that every point where a file is opened, read,
// written, renamed or removed is tried. Queries that only look (stat, list, readPrefix) are not
// counted unless asked for: to them a fault looks like a missing file.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "fakes/forwarding_file_system.h"

namespace quelo::testing {

enum class FaultCause { kDiskFull, kPermissionDenied, kIoError };

struct Fault {
  int at = 0;  // the operation that fails, counted from 1; 0 for none
  bool fromThenOn = false;
  FaultCause cause = FaultCause::kIoError;
  // when given, `at` counts only operations of this kind ("write", "open" ...)
  std::string only = {};
  std::string onPath = {};  // when given, `at` counts only operations on paths ending so
};

class CountdownFileSystem : public ForwardingFileSystem {
 public:
  CountdownFileSystem(FileSystem& target, Fault fault, bool countQueries = false)
      : ForwardingFileSystem(target), fault_(fault), countQueries_(countQueries) {}

  // The operations counted so far, each as "what path", in order. Read it when no run is going:
  // pages are written on a thread of their own.
  const std::vector<std::string>& operations() const { return operations_; }

  Result<FileInfo> stat(const std::string& path) override;
  Result<std::vector<DirEntry>> list(const std::string& dir) override;
  Result<std::string> readPrefix(const std::string& path, size_t maxBytes) override;
  Status createDirectory(const std::string& path) override;
  Status copyFile(const std::string& from, const std::string& to, bool overwrite) override;
  Status moveFile(const std::string& from, const std::string& to) override;
  Status remove(const std::string& path) override;
  Result<std::string> readFile(const std::string& path) override;
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) override;
  Result<RegularFile> openRegular(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> beginCreate(const std::string& path, unsigned mode) override;
  Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& folder) override;
  Result<std::unique_ptr<OutputFile>> beginUpdate(const std::string& path,
                                                  std::string_view newFilePrefix) override;
  Result<RunFolder> createRunFolder(const std::string& folder) override;
  Result<std::unique_ptr<OutputFile>> beginInRunFolder(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> continueInRunFolder(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> beginReplacement(const std::string& path) override;
  Status removeUpdateLeftovers(const std::string& folder) override;

  // Counts an operation; the error it fails with, or ok.
  Status step(const std::string& what, const std::string& path);

 private:
  Fault fault_;
  bool countQueries_;
  std::mutex mutex_;  // steps come from the page writer's thread too
  std::vector<std::string> operations_;
  int counted_ = 0;  // the operations `at` counts
};

}  // namespace quelo::testing
