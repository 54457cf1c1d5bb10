// MountTable: the mounted file systems, which stand in for drives on Linux. The file dialog's
// drive list shows the ones a user keeps files on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct MountPoint {
  std::string device, path, type;
  bool operator==(const MountPoint&) const = default;
};

class MountTable {
 public:
  virtual ~MountTable() = default;
  virtual Result<std::vector<MountPoint>> mounts() = 0;
};

// One line per mount: device, mount point, type, options ...; "\040"-style octal escapes in the
// fields are decoded. Lines with fewer than three fields are skipped.
std::vector<MountPoint> parseMountTable(std::string_view text);

// The mount points worth showing as drives, sorted, each once: "/" always, then every mount that
// is not a kernel pseudo file system or one of the system's own trees (/proc, /sys, /dev, /run
// except removable media under /run/media).
std::vector<std::string> driveMountPoints(const std::vector<MountPoint>& mounts);

// The drive a path lies on: the longest mount point that holds it ("/" for any absolute path);
// empty for a path that is not absolute.
std::string driveOfPath(const std::vector<std::string>& drives, std::string_view path);

}  // namespace quelo
