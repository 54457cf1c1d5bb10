// A mount table that lists what the test says: by default only the root file system.
#pragma once

#include <vector>

#include "platform/mount_table.h"

namespace quelo::testing {

class FakeMountTable : public MountTable {
 public:
  Result<std::vector<MountPoint>> mounts() override {
    if (fail) return makeError(err::kIoError, "Cannot read the mount table");
    return table;
  }
  std::vector<MountPoint> table{{"/dev/root", "/", "ext4"}};
  bool fail = false;
};

}  // namespace quelo::testing
