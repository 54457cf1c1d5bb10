// The file-name functions: the bare name and the folder of a path, and its short and long forms.
// They keep no state, change nothing on disk and never fail: at worst the result is empty.
// Both "\" and "/" separate folders; "X:" is a drive prefix.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace quelo {

// What follows the last separator (or, when there is none, the last ":"), in upper case; a path
// with neither comes back unchanged. C:\Data\Photo.jpg and C:Photo.jpg give PHOTO.JPG.
std::string justFileName(std::string_view path);

// The path without the part justFileName takes: the folder with its trailing separator, or the
// drive with its ":", as the path spells it; empty when the path has neither.
std::string FileFolder(std::string_view path);

// There are no short aliases on Linux: the path itself when it names an existing entry (matched
// as the directory lookup matches), else empty.
std::string ShortFileName(FileSystem& fs, std::string_view longName);

// The path rebuilt component by component from the stored names of the entries that its
// prefixes name: C:\PROGRAM FILES\MY DOCUMENT.TXT gives C:\Program Files\My Document.txt when
// those entries exist. A path without a drive comes back rooted (Data\x.txt gives \Data\x.txt),
// a drive-relative one with a separator after the drive; a component that matches nothing
// contributes an empty name. Each component is joined with the separator that precedes it in
// the path, or the path's own separator where it has none.
std::string LongFileName(FileSystem& fs, std::string_view shortName);

}  // namespace quelo
