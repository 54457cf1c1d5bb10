// What every FileSystem can do with its own primitives.
#include "platform/file_system.h"

namespace quelo {

Status FileSystem::moveFile(const std::string& from, const std::string& to) {
  Status copied = copyFile(from, to, false);
  if (!copied) return copied;
  return remove(from);
}

Status FileSystem::appendWhole(const std::string& path, std::string_view bytes) {
  auto file = open(path, Mode::Append);
  if (!file) return file.error();
  Status written = file.value()->write(bytes);
  Status closed = file.value()->close();
  return written ? closed : written;
}

}  // namespace quelo
