// Paths written into pages unquoted, as picture and local-path cells write them: a character that
// would end the value or change its meaning as an address (blank, "#", "%", "?", quotes, "<",
// ">", control characters) is percent-encoded; every other path is written as it is.
#pragma once

#include <string>
#include <string_view>

namespace quelo {

std::string percentEncodedPath(std::string_view path);

// The "file://" URL of an absolute path: a browser or opener given it finds the file in place.
std::string fileUrl(std::string_view absolutePath);

}  // namespace quelo
