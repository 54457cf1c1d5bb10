#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "fakes/forwarding_file_system.h"
#include "fakes/scratch_dir.h"
#include "platform/file_system.h"

namespace quelo {
namespace {

struct PosixFiles : ::testing::Test {
  testing::ScratchDir dir;
  PosixFileSystem fs;
};

TEST_F(PosixFiles, AMoveNeverReplacesAndKeepsOpenWritersWriting) {
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

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// An update shows in the file only once closed, whole; dropped, it leaves neither trace nor
// temporary. A new file gets the prefix; an existing one keeps its content and mode, made
// writable by its owner.
TEST_F(PosixFiles, AnUpdateReplacesTheFileWholeOnCloseOnly) {
  for (const bool present : {false, true}) {
    SCOPED_TRACE(present ? "existing file" : "new file");
    if (present) {
      dir.write("f", "old|");
      ASSERT_EQ(::chmod((dir / "f").c_str(), 0444), 0);
    }
    auto dropped = fs.beginUpdate(dir / "f", "BOM|");
    ASSERT_TRUE(dropped);
    ASSERT_TRUE(dropped.value()->write(std::string(100000, 'x')));
    dropped.value().reset();
    EXPECT_EQ(fs.exists(dir / "f"), present);

    auto update = fs.beginUpdate(dir / "f", "BOM|");
    ASSERT_TRUE(update);
    ASSERT_TRUE(update.value()->write("new"));
    EXPECT_EQ(namesIn(dir.path()).size(), present ? 2u : 1u)
        << "the temporary stands beside the file";
    ASSERT_TRUE(update.value()->close());
    EXPECT_EQ(dir.read("f"), present ? "old|new" : "BOM|new");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"f"});
    struct stat st {};
    ASSERT_EQ(::stat((dir / "f").c_str(), &st), 0);
    if (present) {
      EXPECT_EQ(st.st_mode & 0777, 0644u);
    }
    ASSERT_TRUE(fs.remove(dir / "f"));
  }
}

// Nothing is written through a link or into anything but a regular file; the FIFO does not block.
TEST_F(PosixFiles, AnUpdateRefusesLinksFoldersAndDevices) {
  testing::ScratchDir outside;
  outside.write("target", "outside");
  std::filesystem::create_symlink(outside / "target", dir / "link");
  std::filesystem::create_symlink(outside / "created", dir / "dangling");
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, int>> cases = {{"link", err::kPermissionDenied},
                                                          {"dangling", err::kPermissionDenied},
                                                          {"folder", err::kIoError},
                                                          {"fifo", err::kIoError}};
  for (const auto& [name, number] : cases) {
    SCOPED_TRACE(name);
    auto update = fs.beginUpdate(dir / name, "");
    ASSERT_FALSE(update);
    EXPECT_EQ(update.error().number, number);
    EXPECT_NE(update.error().message.find(dir / name), std::string::npos) << update.error().message;
  }
  EXPECT_EQ(namesIn(outside.path()), std::vector<std::string>{"target"});
  EXPECT_EQ(outside.read("target"), "outside");
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"dangling", "fifo", "folder", "link"}));
}

// A new file takes its name only where there is none: a file, a link or a folder that took the
// name meanwhile stays as it was, and the temporary goes.
TEST_F(PosixFiles, ACreateNeverReplacesWhatTookItsNameMeanwhile) {
  for (const char* taken : {"file", "link", "folder"}) {
    SCOPED_TRACE(taken);
    auto created = fs.beginCreate(dir / taken, 0640);
    ASSERT_TRUE(created);
    ASSERT_TRUE(created.value()->write("new"));
    if (std::string(taken) == "file") dir.write("file", "old");
    if (std::string(taken) == "link") std::filesystem::create_symlink(dir / "file", dir / "link");
    if (std::string(taken) == "folder") std::filesystem::create_directory(dir / "folder");
    Status closed = created.value()->close();
    ASSERT_FALSE(closed);
    EXPECT_EQ(closed.error().number, err::kFileAlreadyExists);
  }
  EXPECT_EQ(dir.read("file"), "old");
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"file", "folder", "link"}));
}

// A run folder's file is written under its own name, never through a link, and goes when dropped.
TEST_F(PosixFiles, ARunFolderFileFollowsNoLinkAndGoesWhenDropped) {
  testing::ScratchDir outside;
  std::filesystem::create_symlink(outside / "created", dir / "link");
  auto linked = fs.beginInRunFolder(dir / "link");
  ASSERT_FALSE(linked);
  EXPECT_EQ(linked.error().number, err::kFileAlreadyExists);
  EXPECT_TRUE(namesIn(outside.path()).empty());

  auto dropped = fs.beginInRunFolder(dir / "page.htm");
  ASSERT_TRUE(dropped);
  ASSERT_TRUE(dropped.value()->write("half"));
  dropped.value().reset();
  EXPECT_FALSE(fs.exists(dir / "page.htm"));

  auto page = fs.beginInRunFolder(dir / "page.htm");
  ASSERT_TRUE(page);
  ASSERT_TRUE(page.value()->write("whole"));
  ASSERT_TRUE(page.value()->close());
  EXPECT_EQ(dir.read("page.htm"), "whole");
}

TEST_F(PosixFiles, LeftoversOfAKilledUpdateAreRemovedAndNothingElse) {
  auto update = fs.beginUpdate(dir / "page.htm", "");
  ASSERT_TRUE(update);
  const std::vector<std::string> temporary = namesIn(dir.path());
  ASSERT_EQ(temporary.size(), 1u);
  update.value().reset();
  dir.write(temporary.front(), "half a page");  // as a killed run leaves it
  for (const char* kept :
       {"page.htm", ".Quelo-update-", ".Quelo-update-1234567", ".quelo-update-123456"})
    dir.write(kept, "x");
  ASSERT_TRUE(fs.removeUpdateLeftovers(dir.path()));
  EXPECT_EQ(namesIn(dir.path()),
            (std::vector<std::string>{".Quelo-update-", ".Quelo-update-1234567",
                                      ".quelo-update-123456", "page.htm"}));
}

// Two runs that make the same folder at once both go on.
TEST_F(PosixFiles, EnsureDirectoryTakesAFolderMadeMeanwhileButNotAFile) {
  struct LosesTheRace : testing::ForwardingFileSystem {
    using ForwardingFileSystem::ForwardingFileSystem;
    Status createDirectory(const std::string& path) override {
      (void)ForwardingFileSystem::createDirectory(path);  // the other run is first
      return ForwardingFileSystem::createDirectory(path);
    }
  } racing(fs);
  EXPECT_TRUE(racing.ensureDirectory(dir / "Reports"));
  EXPECT_TRUE(racing.ensureDirectory(dir / "Reports"));
  dir.write("file", "x");
  EXPECT_FALSE(racing.ensureDirectory(dir / "file"));
}

TEST_F(PosixFiles, ReadPrefixReadsTheStartOfRegularFilesOnly) {
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
