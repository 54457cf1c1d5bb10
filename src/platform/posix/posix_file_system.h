// The real file system.
#pragma once

#include "platform/file_system.h"

namespace quelo {

class PosixFileSystem : public FileSystem {
 public:
  Result<FileInfo> stat(const std::string& path) override;
  bool isSymlink(const std::string& path) override;
  Result<std::vector<DirEntry>> list(const std::string& dir) override;
  Status createDirectory(const std::string& path) override;
  Status copyFile(const std::string& from, const std::string& to, bool overwrite) override;
  Status moveFile(const std::string& from, const std::string& to) override;
  Status remove(const std::string& path) override;
  Result<std::string> readFile(const std::string& path) override;
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) override;
  Result<RegularFile> openRegular(const std::string& path) override;
  // The temporary is named as an update's, so a killed run's is removed as theirs are.
  Result<std::unique_ptr<OutputFile>> beginCreate(const std::string& path, unsigned mode) override;

  // flock(2) on the folder; where the file system has no locks, updates go on unlocked.
  Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& folder) override;
  // The temporary is a dot file with a mixed-case name (see posix_file_system.cpp), renamed
  // over the file.
  Result<std::unique_ptr<OutputFile>> beginUpdate(const std::string& path,
                                                  std::string_view newFilePrefix) override;
  // mode 0700, locked with flock(2)
  Result<RunFolder> createRunFolder(const std::string& folder) override;
  Result<std::unique_ptr<OutputFile>> beginInRunFolder(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> continueInRunFolder(const std::string& path) override;
  Result<std::unique_ptr<OutputFile>> beginReplacement(const std::string& path) override;
  Status removeUpdateLeftovers(const std::string& folder) override;
  // Opened without blocking (a FIFO cannot hold it up), then checked on the descriptor.
  Result<std::string> readPrefix(const std::string& path, size_t maxBytes) override;
};

}  // namespace quelo
