// FileSystem: every file the system reads or writes goes through here, so tests can run on a
// scratch folder and inject failures (a full disk, a folder that cannot be written).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/status.h"

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

// A file being written; bytes reach the disk by close() at the latest. A write or close that
// fails says so: nothing is lost silently.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual Status write(std::string_view bytes) = 0;
  // The pieces one after another, as writing each in turn would: a file may take them in one
  // call, without joining them first.
  virtual Status writePieces(std::span<const std::string_view> pieces);
  virtual Status close() = 0;
};

// A file being read from its start.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Up to `size` more bytes into `buffer`: how many were read, 0 at the end of the file.
  virtual Result<size_t> read(char* buffer, size_t size) = 0;
};

// A regular file open for reading, and what the system says of it as opened.
struct RegularFile {
  std::unique_ptr<InputFile> file;
  uint64_t size = 0;
  unsigned mode = 0;  // its permission bits (0644 ...)
};

// Held while a folder is locked; dropping it unlocks.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

// Calls may come from several threads at once (a report's page writer and page formatters): an
// implementation keeps no state between calls, or guards what it keeps.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual Result<FileInfo> stat(const std::string& path) = 0;
  bool exists(const std::string& path) { return stat(path).isOk(); }
  bool isDirectory(const std::string& path);
  // Whether the name itself is a symbolic link (it is not followed); false for a missing name.
  virtual bool isSymlink(const std::string&) { return false; }
  virtual Result<std::vector<DirEntry>> list(const std::string& dir) = 0;
  // One level: the parent must exist.
  virtual Status createDirectory(const std::string& path) = 0;
  // Fails when `to` exists and overwrite is false.
  virtual Status copyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
  // Gives a file a new name in the same file system; fails when `to` exists. Writers that hold
  // the file open keep writing into it under its new name. The default copies and deletes.
  virtual Status moveFile(const std::string& from, const std::string& to);
  virtual Status remove(const std::string& path) = 0;
  virtual Result<std::string> readFile(const std::string& path) = 0;
  // For files read in pieces (data files of any size); a missing file is err::kFileNotFound.
  virtual Result<std::unique_ptr<InputFile>> openForReading(const std::string& path) = 0;
  // A file named by data (a picture a record names), opened without waiting for it, so a FIFO
  // or a device cannot hold it up, and without following a symbolic link of that name: anything
  // but a regular file is refused (a link with err::kPermissionDenied).
  virtual Result<RegularFile> openRegular(const std::string& path) = 0;
  // A new file at `path` with the permission bits `mode` (less the umask), built under a
  // temporary name in its folder. close() gives it its name in one step without replacing
  // anything: a name taken meanwhile fails with err::kFileAlreadyExists. Dropped unclosed, or
  // after a failed write or close, nothing of it is left.
  virtual Result<std::unique_ptr<OutputFile>> beginCreate(const std::string& path,
                                                          unsigned mode) = 0;

  // Files replaced whole (report pages, the message log): a reader, or a run killed at any
  // moment, sees a file either as it was or with all of its new content, never in between.
  //
  // Creates the folder when missing; one already there, made by another process meanwhile too,
  // is success.
  Status ensureDirectory(const std::string& path);
  // Updates in one folder take turns, across processes, while its lock is held.
  virtual Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& folder) = 0;
  // A new version of the file at `path`, built under a temporary name in the same folder from a
  // copy of the file, or from `newFilePrefix` alone when there is none. close() puts it in the
  // file's place in one step (a rename: a killed process never leaves half a file; it is not
  // synced, as a sync per page would cost more than writing the page); dropped unclosed, or
  // after a failed write, it is removed.
  // A symbolic link or anything but a regular file at `path` is refused, so nothing is ever
  // written through a link. Errors name `path`; a full disk is err::kDiskFull, a link
  // err::kPermissionDenied.
  virtual Result<std::unique_ptr<OutputFile>> beginUpdate(const std::string& path,
                                                          std::string_view newFilePrefix) = 0;
  // A folder of its own inside `folder` for the files a run builds before it puts them in place,
  // named as temporaries are, and the lock that marks it in use. Dropping the lock removes the
  // folder with what it still holds; a killed run's is removed by removeUpdateLeftovers. The
  // caller holds the lock of `folder` meanwhile.
  struct RunFolder {
    std::string path;  // ends in a separator
    std::unique_ptr<FolderLock> inUse;
  };
  virtual Result<RunFolder> createRunFolder(const std::string& folder) = 0;
  // A new file in a run folder, written under its own name: nothing else looks there, so it needs
  // no temporary. A name taken (by a link too: none is followed) fails with
  // err::kFileAlreadyExists; dropped unclosed, or after a failed write, it is removed.
  virtual Result<std::unique_ptr<OutputFile>> beginInRunFolder(const std::string& path) = 0;
  // More of a file begun in a run folder, appended to it. Anything but a regular file (a link
  // too) is refused; after a failed write, or dropped unclosed, the file is removed.
  virtual Result<std::unique_ptr<OutputFile>> continueInRunFolder(const std::string& path) = 0;
  // As beginUpdate, for a file replaced by new content alone (the old is not copied).
  virtual Result<std::unique_ptr<OutputFile>> beginReplacement(const std::string& path) = 0;
  // Removes the temporaries and the run folders not in use that killed processes left in
  // `folder`; the caller holds its lock.
  virtual Status removeUpdateLeftovers(const std::string& folder) = 0;
  // The first `maxBytes` bytes of a regular file (fewer when it is shorter); anything else (a
  // folder, a FIFO, a device) is refused without waiting for it.
  virtual Result<std::string> readPrefix(const std::string& path, size_t maxBytes) = 0;
};

}  // namespace quelo
