// The kernel's table of the process's mounts.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/mount_table.h"

namespace quelo {

// The kernel's table of the process (/proc/self/mounts), read through the FileSystem.
class ProcMountTable : public MountTable {
 public:
  explicit ProcMountTable(FileSystem& files, std::string table = "/proc/self/mounts")
      : files_(files), table_(std::move(table)) {}
  Result<std::vector<MountPoint>> mounts() override;

 private:
  FileSystem& files_;
  std::string table_;
};

}  // namespace quelo
