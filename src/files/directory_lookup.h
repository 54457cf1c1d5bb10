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

}  // namespace quelo
