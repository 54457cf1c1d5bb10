// What every FileSystem can do with its own primitives.
#include "platform/file_system.h"

namespace quelo {

Status OutputFile::writePieces(std::span<const std::string_view> pieces) {
  for (std::string_view piece : pieces)
    if (Status s = write(piece); !s) return s;
  return Status::ok();
}

Status FileSystem::moveFile(const std::string& from, const std::string& to) {
  Status copied = copyFile(from, to, false);
  if (!copied) return copied;
  return remove(from);
}

Status FileSystem::ensureDirectory(const std::string& path) {
  if (isDirectory(path)) return Status::ok();
  Status made = createDirectory(path);
  return made || isDirectory(path) ? Status::ok() : made;
}

}  // namespace quelo
