#include "fakes/countdown_file_system.h"

namespace quelo::testing {
namespace {

Error faultError(FaultCause cause, const std::string& what, const std::string& path) {
  const std::string head = "Cannot " + what + " '" + path + "': ";
  switch (cause) {
    case FaultCause::kDiskFull:
      return makeError(err::kDiskFull, head + "No space left on device");
    case FaultCause::kPermissionDenied:
      return makeError(err::kPermissionDenied, head + "Permission denied");
    case FaultCause::kIoError:
      break;
  }
  return makeError(err::kIoError, head + "Input/output error");
}

// Counts the operation: its fault, or what the call gives.
template <typename Call>
auto counted(CountdownFileSystem& files, const char* what, const std::string& path, Call call)
    -> decltype(call()) {
  if (Status s = files.step(what, path); !s) return s.error();
  return call();
}

struct CountedInput : InputFile {
  CountedInput(std::unique_ptr<InputFile> file, CountdownFileSystem& files, std::string path)
      : file(std::move(file)), files(files), path(std::move(path)) {}
  Result<size_t> read(char* buffer, size_t size) override {
    return counted(files, "read", path, [&] { return file->read(buffer, size); });
  }
  std::unique_ptr<InputFile> file;
  CountdownFileSystem& files;
  std::string path;
};

// A failed close drops the update unclosed, as a failed rename leaves the file as it was.
struct CountedOutput : OutputFile {
  CountedOutput(std::unique_ptr<OutputFile> file, CountdownFileSystem& files, std::string path)
      : file(std::move(file)), files(files), path(std::move(path)) {}
  Status write(std::string_view bytes) override {
    return counted(files, "write", path, [&] { return file->write(bytes); });
  }
  Status writePieces(std::span<const std::string_view> pieces) override {
    return counted(files, "write", path, [&] { return file->writePieces(pieces); });
  }
  Status close() override {
    if (Status s = files.step("replace", path); !s) {
      file.reset();
      return s;
    }
    return file->close();
  }
  std::unique_ptr<OutputFile> file;
  CountdownFileSystem& files;
  std::string path;
};

template <typename Counted, typename File>
Result<std::unique_ptr<File>> wrapped(Result<std::unique_ptr<File>> file,
                                      CountdownFileSystem& files, const std::string& path) {
  if (!file) return file;
  return std::unique_ptr<File>(std::make_unique<Counted>(std::move(file).value(), files, path));
}

}  // namespace

Status CountdownFileSystem::step(const std::string& what, const std::string& path) {
  std::lock_guard hold(mutex_);
  operations_.push_back(what + " " + path);
  if (!fault_.only.empty() && what != fault_.only) return Status::ok();
  if (!path.ends_with(fault_.onPath)) return Status::ok();
  const int n = ++counted_;
  if (fault_.at > 0 && (n == fault_.at || (fault_.fromThenOn && n > fault_.at)))
    return faultError(fault_.cause, what, path);
  return Status::ok();
}

using Base = ForwardingFileSystem;

Result<FileInfo> CountdownFileSystem::stat(const std::string& path) {
  auto call = [&] { return Base::stat(path); };
  return countQueries_ ? counted(*this, "stat", path, call) : call();
}
Result<std::vector<DirEntry>> CountdownFileSystem::list(const std::string& dir) {
  auto call = [&] { return Base::list(dir); };
  return countQueries_ ? counted(*this, "list", dir, call) : call();
}
Result<std::string> CountdownFileSystem::readPrefix(const std::string& path, size_t maxBytes) {
  auto call = [&] { return Base::readPrefix(path, maxBytes); };
  return countQueries_ ? counted(*this, "open", path, call) : call();
}
Status CountdownFileSystem::createDirectory(const std::string& path) {
  return counted(*this, "create folder", path, [&] { return Base::createDirectory(path); });
}
Status CountdownFileSystem::copyFile(const std::string& from, const std::string& to,
                                     bool overwrite) {
  return counted(*this, "create", to, [&] { return Base::copyFile(from, to, overwrite); });
}
Status CountdownFileSystem::moveFile(const std::string& from, const std::string& to) {
  return counted(*this, "rename", from, [&] { return Base::moveFile(from, to); });
}
Status CountdownFileSystem::remove(const std::string& path) {
  return counted(*this, "remove", path, [&] { return Base::remove(path); });
}
Result<std::string> CountdownFileSystem::readFile(const std::string& path) {
  return counted(*this, "open", path, [&] { return Base::readFile(path); });
}
Result<std::unique_ptr<InputFile>> CountdownFileSystem::openForReading(const std::string& path) {
  return counted(*this, "open", path,
                 [&] { return wrapped<CountedInput>(Base::openForReading(path), *this, path); });
}
Result<RegularFile> CountdownFileSystem::openRegular(const std::string& path) {
  auto opened = counted(*this, "open", path, [&] { return Base::openRegular(path); });
  if (opened)
    opened.value().file =
        std::make_unique<CountedInput>(std::move(opened.value().file), *this, path);
  return opened;
}
Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginCreate(const std::string& path,
                                                                     unsigned mode) {
  return counted(*this, "create", path, [&] {
    return wrapped<CountedOutput>(Base::beginCreate(path, mode), *this, path);
  });
}
Result<std::unique_ptr<FolderLock>> CountdownFileSystem::lockFolder(const std::string& folder) {
  return counted(*this, "lock", folder, [&] { return Base::lockFolder(folder); });
}
Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginUpdate(
    const std::string& path, std::string_view newFilePrefix) {
  return counted(*this, "create", path, [&] {
    return wrapped<CountedOutput>(Base::beginUpdate(path, newFilePrefix), *this, path);
  });
}
Result<FileSystem::RunFolder> CountdownFileSystem::createRunFolder(const std::string& folder) {
  return counted(*this, "create folder", folder, [&] { return Base::createRunFolder(folder); });
}
Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginInRunFolder(const std::string& path) {
  return counted(*this, "create", path,
                 [&] { return wrapped<CountedOutput>(Base::beginInRunFolder(path), *this, path); });
}
Result<std::unique_ptr<OutputFile>> CountdownFileSystem::continueInRunFolder(
    const std::string& path) {
  return counted(*this, "create", path, [&] {
    return wrapped<CountedOutput>(Base::continueInRunFolder(path), *this, path);
  });
}
Result<std::unique_ptr<OutputFile>> CountdownFileSystem::beginReplacement(const std::string& path) {
  return counted(*this, "create", path,
                 [&] { return wrapped<CountedOutput>(Base::beginReplacement(path), *this, path); });
}
Status CountdownFileSystem::removeUpdateLeftovers(const std::string& folder) {
  return counted(*this, "clean", folder, [&] { return Base::removeUpdateLeftovers(folder); });
}

}  // namespace quelo::testing
