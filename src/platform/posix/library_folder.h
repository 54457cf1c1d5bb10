#pragma once

#include <string>

namespace quelo {

// The folder of the file that holds the library's code (libquelo, or the program it is linked
// into), with a trailing "/".
std::string libraryFolder();

}  // namespace quelo
