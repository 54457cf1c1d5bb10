// How paths are read on Linux: both "\" and "/" separate folders; a drive path ("X:...") and an
// absolute POSIX path ("/...") are both absolute; an appended separator is the one the path
// already uses, "\" for a bare drive ("D:"), else "/".
#pragma once

#include <string>
#include <string_view>

namespace quelo {

inline bool isSeparator(char c) { return c == '\\' || c == '/'; }
bool endsWithSeparator(std::string_view path);
// The separator this path uses (its last one), "\" for a drive path without one, else "/".
char separatorOf(std::string_view path);
// The path with a trailing separator, added only when it has none.
std::string withTrailingSeparator(std::string_view path);
// A path that names a place on its own: it holds a ":" (a drive) or starts with "/".
bool isAnchoredPath(std::string_view path);
// The position of the last separator, or npos.
size_t lastSeparator(std::string_view path);
// Where the bare file name starts: after the last separator, else after the last ":" (a drive
// prefix such as "D:"), else at 0.
size_t fileNameStart(std::string_view path);
// The path as the file system takes it: every "\" becomes "/", and a drive-relative path is read
// from the drive's top folder ("C:Data" as "C:/Data": a drive is a folder of that name here).
std::string posixPath(std::string_view path);

}  // namespace quelo
