// A FileSystem that passes every call on to another one: a test derives from it and overrides
// the one call that should fail.
#pragma once

#include "platform/file_system.h"

namespace quelo::testing {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}
  Result<FileInfo> stat(const std::string& path) override { return target_.stat(path); }
  bool isSymlink(const std::string& path) override { return target_.isSymlink(path); }
  Result<std::vector<DirEntry>> list(const std::string& dir) override { return target_.list(dir); }
  Status createDirectory(const std::string& path) override { return target_.createDirectory(path); }
  Status copyFile(const std::string& from, const std::string& to, bool overwrite) override {
    return target_.copyFile(from, to, overwrite);
  }
  Status moveFile(const std::string& from, const std::string& to) override {
    return target_.moveFile(from, to);
  }
  Status remove(const std::string& path) override { return target_.remove(path); }
  Result<std::string> readFile(const std::string& path) override { return target_.readFile(path); }
  Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) override {
    return target_.openForReading(path);
  }
  Result<RegularFile> openRegular(const std::string& path) override {
    return target_.openRegular(path);
  }
  Result<std::unique_ptr<OutputFile>> beginCreate(const std::string& path, unsigned mode) override {
    return target_.beginCreate(path, mode);
  }
  Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& folder) override {
    return target_.lockFolder(folder);
  }
  Result<std::unique_ptr<OutputFile>> beginUpdate(const std::string& path,
                                                  std::string_view newFilePrefix) override {
    return target_.beginUpdate(path, newFilePrefix);
  }
  Result<std::unique_ptr<OutputFile>> beginReplacement(const std::string& path) override {
    return target_.beginReplacement(path);
  }
  Result<std::string> readPrefix(const std::string& path, size_t maxBytes) override {
    return target_.readPrefix(path, maxBytes);
  }
  Result<RunFolder> createRunFolder(const std::string& folder) override {
    return target_.createRunFolder(folder);
  }
  Result<std::unique_ptr<OutputFile>> beginInRunFolder(const std::string& path) override {
    return target_.beginInRunFolder(path);
  }
  Result<std::unique_ptr<OutputFile>> continueInRunFolder(const std::string& path) override {
    return target_.continueInRunFolder(path);
  }
  Status removeUpdateLeftovers(const std::string& folder) override {
    return target_.removeUpdateLeftovers(folder);
  }

 private:
  FileSystem& target_;
};

}  // namespace quelo::testing
