#include "platform/posix/proc_mount_table.h"

namespace quelo {

Result<std::vector<MountPoint>> ProcMountTable::mounts() {
  auto text = files_.readFile(table_);
  if (!text) return text.error();
  return parseMountTable(text.value());
}

}  // namespace quelo
