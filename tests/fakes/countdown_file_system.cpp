#include "fakes/countdown_file_system.h"

namespace quelo::testing {
namespace {

Error faultError(FaultCause cause, const std::string& what, const std::string& path) {
  const std::string head = "Cannot " + what + " '" + path + "': ";
  switch (cause) {
    case FaultCause::kDiskFull: return makeError(err::kDiskFull, head + "No space left on device");
    case FaultCause::kPermissionDenied: return makeError(err::kPermissionDenied, head + "Permission denied");
    case FaultCause::kIoError: break;
  }
  return makeError(err::kIoError, head + "Input/output error");
}

class CountedInput : public InputFile {
 public:
  CountedInput(std::unique_ptr<InputFile> file, CountdownFileSystem& files, std::string path)
      : file_(std::move(file)), files_(files), path_(std::move(path)) {}
  Result<size_t> read(char* buffer, size_t size) override {
    if (Status s = files_.step("read", path_); !s) return s.error();
    return file_->read(buffer, size);
  }

 private:
  std::unique_ptr<InputFile> file_;
  CountdownFileSystem& files_;
  std::string path_;
};

// A failed close drops the update unclosed, as a failed rename leaves the file as it was.
class CountedOutput : public OutputFile {
 public:
  CountedOutput(std::unique_ptr<OutputFile> file, CountdownFileSystem& files, std::string path)
      : file_(std::move(file)), files_(files), path_(std::move(path)) {}
  Status write(std::string_view bytes) override {
    if (Status s = files_.step("write", path_); !s) return s;
    return file_->write(bytes);
  }
  Status close() override {
    if (Status s = files_.step("replace", path_); !s) {
      file_.reset();
      return s;
    }
    return file_->close();
  }

 private:
  std::unique_ptr<OutputFile> file_;
  CountdownFileSystem& files_;
  std::string path_;
};

}  // namespace

Status CountdownFileSystem::step(const std::string& what, const std::string& path) {
  std::lock_guard hold(mutex_);
  operations_.push_back(what + " " + path);
  if (!fault_.only.empty() && what != fault_.only) return Status::ok();
  const int n = ++counted_;
  if (fault_.at > 0 && (n == fault_.at || (fault_.fromThenOn && n > fault_.at)))
    return faultError(fault_.cause, what, path);
  return Status::ok();
}

Result<FileInfo> CountdownFileSystem::stat(const std::string& path) {
  if (countQueries_)
    if (Status s = step("stat", path); !s) return s.error();
  return ForwardingFileSystem::stat(path);
}

Result<std::vector<DirEntry>> CountdownFileSystem::list(const std::string& dir) {
  if (countQueries_)
    if (Status s = step("list", dir); !s) return s.error();
  return ForwardingFileSystem::list(dir);
}

Result<std::string> CountdownFileSystem::readPrefix(const std::string& path, size_t maxBytes) {
  if (countQueries_)
    if (Status s = step("open", path); !s) return s.error();
  return ForwardingFileSystem::readPrefix(path, maxBytes);
}

Status CountdownFileSystem::createDirectory(const std::string& path) {
  if (Status s = step("create folder", path); !s) return s;
  return ForwardingFileSystem::createDirectory(path);
}

Status CountdownFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
  if (Status s = step("create", to); !s) return s;
  return ForwardingFileSystem::copyFile(from, to, overwrite);
}

Status CountdownFileSystem::moveFile(const std::string& from, const std::string& to) {
  if (Status s = step("rename", from); !s) return s;
  return ForwardingFileSystem::moveFile(from, to);
}

Status CountdownFileSystem::remove(const std::string& path) {
  if (Status s = step("remove", path); !s) return s;
  return ForwardingFileSystem::remove(path);
}

Result<std::string> CountdownFileSystem::readFile(const std::string& path) {
  if (Status s = step("open", path); !s) return s.error();
  return ForwardingFileSystem::readFile(path);
}

Result<std::unique_ptr<InputFile>> CountdownFileSystem::openForReading(const std::string& path) {
  if (Status s = step("open", path); !s) return s.error();
  auto file = ForwardingFileSystem::openForReading(path);
  if (!file) return file;
  return std::unique_ptr<InputFile>(std::make_unique<CountedInput>(std::move(file).value(), *this, path));
}

Result<RegularFile> CountdownFileSystem::openRegular(const std::string& path) {
  if (Status s = step("open", path); !s) return s.error();
  auto opened = ForwardingFileSystem::openRegular(path);
  if (opened) opened.value().file = std::make_unique<CountedInput>(std::move(opened.value().file), *this, path);
  return opened;
}

Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginCreate(const std::string& path, unsigned mode) {
  if (Status s = step("create", path); !s) return s.error();
  auto file = ForwardingFileSystem::beginCreate(path, mode);
  if (!file) return file;
  return std::unique_ptr<OutputFile>(std::make_unique<CountedOutput>(std::move(file).value(), *this, path));
}

Result<std::unique_ptr<FolderLock>> CountdownFileSystem::lockFolder(const std::string& folder) {
  if (Status s = step("lock", folder); !s) return s.error();
  return ForwardingFileSystem::lockFolder(folder);
}

Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginUpdate(const std::string& path,
                                                                     std::string_view newFilePrefix) {
  if (Status s = step("create", path); !s) return s.error();
  auto file = ForwardingFileSystem::beginUpdate(path, newFilePrefix);
  if (!file) return file;
  return std::unique_ptr<OutputFile>(std::make_unique<CountedOutput>(std::move(file).value(), *this, path));
}

Result<FileSystem::RunFolder> CountdownFileSystem::createRunFolder(const std::string& folder) {
  if (Status s = step("create folder", folder); !s) return s.error();
  return ForwardingFileSystem::createRunFolder(folder);
}

Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginReplacement(const std::string& path) {
  if (Status s = step("create", path); !s) return s.error();
  auto file = ForwardingFileSystem::beginReplacement(path);
  if (!file) return file;
  return std::unique_ptr<OutputFile>(std::make_unique<CountedOutput>(std::move(file).value(), *this, path));
}

Status CountdownFileSystem::removeUpdateLeftovers(const std::string& folder) {
  if (Status s = step("clean", folder); !s) return s;
  return ForwardingFileSystem::removeUpdateLeftovers(folder);
}

}  // namespace quelo::testing
