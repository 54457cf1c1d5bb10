#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "fakes/scratch_dir.h"
#include "platform/file_system.h"

namespace quelo {
namespace {

TEST(PosixMoveFile, NeverReplacesAndKeepsOpenWritersWriting) {
  testing::ScratchDir dir;
  PosixFileSystem fs;
  dir.write("log", "old\n");
  dir.write("taken", "kept\n");
  EXPECT_FALSE(fs.moveFile(dir / "log", dir / "taken"));
  EXPECT_EQ(dir.read("taken"), "kept\n");

  const int writer = ::open((dir / "log").c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(writer, 0);
  ASSERT_TRUE(fs.moveFile(dir / "log", dir / "archive"));
  ASSERT_EQ(::write(writer, "late\n", 5), 5);
  ::close(writer);
  EXPECT_EQ(dir.read("archive"), "old\nlate\n");
  EXPECT_FALSE(fs.exists(dir / "log"));
  EXPECT_FALSE(fs.moveFile(dir / "log", dir / "elsewhere"));
}

TEST(PosixAppendWhole, CreatesTheFileThenAppends) {
  testing::ScratchDir dir;
  PosixFileSystem fs;
  ASSERT_TRUE(fs.appendWhole(dir / "f", "one\r\n"));
  ASSERT_TRUE(fs.appendWhole(dir / "f", std::string(100000, 'x')));
  EXPECT_EQ(dir.read("f"), "one\r\n" + std::string(100000, 'x'));
  EXPECT_EQ(fs.appendWhole(dir / "missing/f", "x").error().number, err::kFileNotFound);
}

TEST(PosixReadPrefix, ReadsTheStartOfRegularFilesOnly) {
  testing::ScratchDir dir;
  PosixFileSystem fs;
  dir.write("f", "0123456789");
  dir.plantNonFiles();
  EXPECT_EQ(fs.readPrefix(dir / "f", 4).value(), "0123");
  EXPECT_EQ(fs.readPrefix(dir / "f", 100).value(), "0123456789");
  std::filesystem::create_symlink(dir / "f", dir / "link");
  EXPECT_EQ(fs.readPrefix(dir / "link", 2).value(), "01");
  for (const std::string& refused : {dir / "fifo", dir / "zero", dir.path(), dir / "missing"})
    EXPECT_FALSE(fs.readPrefix(refused, 4).isOk()) << refused;
}

}  // namespace
}  // namespace quelo
