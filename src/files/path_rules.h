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

}  // namespace quelo
