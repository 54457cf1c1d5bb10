#include "platform/mount_table.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/proc_mount_table.h"

namespace quelo {
namespace {

const char* kTable =
    "/dev/sda1 / ext4 rw,relatime 0 0\n"
    "proc /proc proc rw 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "/dev/sdb1 /run/media/ann/USB\\040STICK vfat rw 0 0\n"
    "/dev/sda2 /home ext4 rw 0 0\n"
    "server:/export /mnt/share nfs4 rw 0 0\n"
    "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
    "broken-line\n";

// The kernel's table, read through the file system, with its escapes.
TEST(MountTable, ReadsTheKernelTableWithItsEscapesIntoDrives) {
  testing::ScratchDir dir;
  dir.write("mounts", kTable);
  PosixFileSystem files;
  const auto mounts = ProcMountTable(files, dir / "mounts").mounts().valueOr({});
  ASSERT_EQ(mounts.size(), 8u);
  EXPECT_EQ(mounts[4], (MountPoint{"/dev/sdb1", "/run/media/ann/USB STICK", "vfat"}));
  // Drives are the file systems users keep files on.
  EXPECT_EQ(driveMountPoints(mounts),
            (std::vector<std::string>{"/", "/home", "/mnt/share", "/run/media/ann/USB STICK"}));
  EXPECT_EQ(driveMountPoints({}), std::vector<std::string>{"/"});  // the root is always there
  EXPECT_FALSE(ProcMountTable(files, dir / "missing").mounts().isOk());
  auto real = ProcMountTable(files).mounts();  // the machine's own table names "/"
  ASSERT_TRUE(real.isOk());
  EXPECT_EQ(driveMountPoints(real.value()).front(), "/");
}

TEST(MountTable, APathLiesOnTheLongestMountPointThatHoldsIt) {
  const std::vector<std::string> drives{"/", "/home", "/home/ann/data"};
  EXPECT_EQ(driveOfPath(drives, "/home/ann/data/x"), "/home/ann/data");
  EXPECT_EQ(driveOfPath(drives, "/home/ann"), "/home");
  EXPECT_EQ(driveOfPath(drives, "/homework"), "/");  // a prefix of letters is not a folder
  EXPECT_EQ(driveOfPath(drives, "relative/x"), "");
}

}  // namespace
}  // namespace quelo
