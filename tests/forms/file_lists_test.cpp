#include "forms/file_lists.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "fakes/fake_mount_table.h"
#include "fakes/scratch_dir.h"
#include "forms/form.h"
#include "forms/form_presenter.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::forms {
namespace {

class ListsForm : public Form {
 public:
  ListsForm(FormPresenter& p, FileSystem& files, MountTable& mounts) : Form("Lists", p), files_(files), mounts_(mounts) {}

 protected:
  void build() override {
    add<DriveListBox>("Drive1").attach(mounts_);
    add<DirListBox>("Dir1").attach(files_);
    add<FileListBox>("File1").attach(files_);
  }

 private:
  FileSystem& files_;
  MountTable& mounts_;
};

struct FileListsTest : ::testing::Test {
  FileListsTest() {
    for (const char* folder : {"Pictures", "archive", ".cache"}) ::mkdir((dir / folder).c_str(), 0755);
    for (const char* file : {"b.JPG", "a.jpg", "notes.txt", ".hidden.jpg"}) dir.write(file, "x");
  }
  testing::ScratchDir dir;
  PosixFileSystem files;
  testing::FakeMountTable mounts;
  HeadlessPresenter presenter;
  ListsForm form{presenter, files, mounts};
  std::string folder = folderPath(dir.path());
};

TEST_F(FileListsTest, FolderListShowsAncestorsThenVisibleSubfoldersAndRefusesWhatIsNoFolder) {
  auto& dirs = form.get<DirListBox>("Dir1");
  int changes = 0;
  dirs.onChange = [&] { ++changes; };
  ASSERT_TRUE(dirs.setPath(dir.path()));
  EXPECT_EQ(dirs.path(), folder);
  EXPECT_EQ(dirs.entryPath(0), "/");
  const int32_t self = dirs.listIndex();
  EXPECT_EQ(self, std::count(folder.begin(), folder.end(), '/'));  // one entry for each ancestor
  EXPECT_EQ(dirs.entryPath(self), folder);
  EXPECT_EQ(dirs.listCount(), self + 3);
  EXPECT_EQ(dirs.entryPath(self + 1), folder + "/archive");  // sorted without regard to case
  EXPECT_EQ(dirs.entryPath(self + 2), folder + "/Pictures");
  EXPECT_EQ(dirs.list(self + 2).find_first_not_of(' '), dirs.list(self).find_first_not_of(' ') + 2);  // indented
  dirs.open(self + 2);
  EXPECT_EQ(dirs.path(), folder + "/Pictures");
  dirs.open(self);  // back up
  EXPECT_EQ(dirs.path(), folder);
  EXPECT_EQ(changes, 3);
  for (const std::string& bad : {dir / "a.jpg", dir / "missing", std::string()})
    EXPECT_EQ(dirs.setPath(bad).error().number, err::kPathNotFound) << bad;
  EXPECT_EQ(dirs.path(), folder);  // what is no folder is refused and changes nothing
  EXPECT_EQ(changes, 3);
}

TEST_F(FileListsTest, FileListFiltersByPatternAndHidesHiddenFiles) {
  auto& list = form.get<FileListBox>("File1");
  list.setPath(dir.path());
  EXPECT_EQ(list.listCount(), 3);
  list.setPattern("*.jpg");
  ASSERT_EQ(list.listCount(), 2);
  EXPECT_EQ(list.listIndex(), -1);  // a refreshed list has nothing selected
  EXPECT_EQ((std::vector<std::string>{list.list(0), list.list(1)}), (std::vector<std::string>{"a.jpg", "b.JPG"}));
  list.setListIndex(1);
  EXPECT_EQ(list.fileName(), "b.JPG");
  list.setPath(dir / "missing");
  EXPECT_EQ(list.listCount(), 0);
  EXPECT_EQ(list.fileName(), "");
}

TEST_F(FileListsTest, DriveListShowsMountPointsAndSelectsTheDriveOfAPath) {
  mounts.table = {{"/dev/sda1", "/", "ext4"}, {"proc", "/proc", "proc"}, {"/dev/sdb1", folder, "vfat"}};
  auto& drives = form.get<DriveListBox>("Drive1");
  drives.refresh();
  ASSERT_EQ(drives.listCount(), 2);
  int changes = 0;
  drives.onChange = [&] { ++changes; };
  ASSERT_TRUE(drives.setDrive(dir / "Pictures"));
  EXPECT_EQ(drives.drive(), folder);
  EXPECT_EQ(drives.listIndex(), 1);
  ASSERT_TRUE(drives.setDrive(folder));  // the same drive: no change
  ASSERT_TRUE(drives.setDrive("/usr"));
  EXPECT_EQ(drives.drive(), "/");
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(drives.setDrive("relative"));
  mounts.fail = true;  // an unreadable table still leaves the root
  drives.refresh();
  EXPECT_EQ(drives.listCount(), 1);
}

}  // namespace
}  // namespace quelo::forms
