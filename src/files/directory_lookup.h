// The directory lookup: which stored entry a path names. Linux names are case-sensitive, but the
// system upper-cases bare file names (justFileName), so a component whose exact spelling is
// missing matches an entry that differs only in case (the first in name order).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace quelo {

// The stored path of the file or folder that `path` names (either separator; a trailing one is
// ignored), with "/" separators; nothing when no entry matches or a folder cannot be read.
std::optional<std::string> storedPath(FileSystem& fs, std::string_view path);

// The stored name (without its folder) of the entry that `path` names; empty when nothing
// matches, and for a path that ends in a separator (it names no entry of its own).
std::string storedName(FileSystem& fs, std::string_view path);

// The lookup of a path's prefixes, asked for in growing order: each builds on the one before, so
// all the prefixes of a path cost one walk along it. A prefix longer than the system takes
// (PATH_MAX), or with a component longer than a name may be (NAME_MAX), matches nothing, and
// neither does any longer one.
class PrefixLookup {
 public:
  PrefixLookup(FileSystem& fs, std::string_view path);
  // What storedPath and storedName give for the path's first `length` characters. The prefix
  // ends where a component of the path ends (a separator or the end of the path follows it), and
  // no earlier than the one asked for before.
  std::optional<std::string> storedPath(size_t length);
  std::string storedName(size_t length);

 private:
  // The stored path of the prefix, valid until the next call.
  std::optional<std::string_view> resolve(size_t length);
  // Takes the component posix_[start, end).
  void step(size_t start, size_t end);
  bool wholeExists();

  FileSystem& fs_;
  std::string_view path_;
  std::string posix_;          // the path as the file system takes it
  size_t walked_ = 0;          // where the last component taken ends in posix_
  bool spelled_ = true;        // every prefix taken exists as spelled
  bool lost_ = false;          // a prefix matched nothing
  std::optional<bool> wholeExists_;
  std::string stored_;         // the stored path walked, once it differs from the spelling
};

}  // namespace quelo
