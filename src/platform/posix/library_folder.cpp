#include "platform/posix/library_folder.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

namespace quelo {

std::string libraryFolder() {
  std::string file;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) && info.dli_fname) file = info.dli_fname;
  char resolved[PATH_MAX];
  if (file.empty() || file.find('/') == std::string::npos) {
    const ssize_t n = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    file = n > 0 ? std::string(resolved, static_cast<size_t>(n)) : std::string("./");
  } else if (realpath(file.c_str(), resolved)) {
    file = resolved;
  }
  return file.substr(0, file.rfind('/') + 1);
}

}  // namespace quelo
