#include "files/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

TEST(JustFileName, TakesWhatFollowsTheLastSeparatorInUpperCase) {
  EXPECT_EQ(justFileName("C:\\Data\\Photo.jpg"), "PHOTO.JPG");
  EXPECT_EQ(justFileName("C:Photo.jpg"), "PHOTO.JPG");
  EXPECT_EQ(justFileName("/home/ann/Photo.jpg"), "PHOTO.JPG");
  EXPECT_EQ(justFileName("Data/x:y\\Foto-\xC3\xA9t\xC3\xA9.jpg"), "FOTO-\xC3\x89T\xC3\x89.JPG");
  EXPECT_EQ(justFileName("/data/a:b.txt"), "A:B.TXT");  // the last separator wins over a ":"
}

TEST(JustFileName, PathsWithoutANameOrWithoutASeparator) {
  EXPECT_EQ(justFileName("Photo.jpg"), "Photo.jpg");
  EXPECT_EQ(justFileName("C:\\Data\\"), "");
  EXPECT_EQ(justFileName("/home/ann/"), "");
  EXPECT_EQ(justFileName(""), "");
}

TEST(FileFolder, KeepsTheFolderWithItsSeparatorAsSpelled) {
  EXPECT_EQ(FileFolder("C:\\Data\\Photo.jpg"), "C:\\Data\\");
  EXPECT_EQ(FileFolder("c:\\data\\PHOTO.JPG"), "c:\\data\\");
  EXPECT_EQ(FileFolder("D:Photo.jpg"), "D:");
  EXPECT_EQ(FileFolder("/home/ann/Photo.jpg"), "/home/ann/");
  EXPECT_EQ(FileFolder("C:\\Data\\"), "C:\\Data\\");
  EXPECT_EQ(FileFolder("Photo.jpg"), "");
  EXPECT_EQ(FileFolder(""), "");
}

TEST(FileFolder, FollowedByTheNameGivesThePathBack) {
  for (std::string p : {"C:\\Data\\Photo.jpg", "D:x", "/a/b\\c.txt", "rel/\xC3\x9F.txt", "plain", "/"}) {
    const std::string folder = FileFolder(p);
    ASSERT_EQ(p.compare(0, folder.size(), folder), 0) << p;
    EXPECT_EQ(justFileName(p), folder.empty() ? p : justFileName(folder + p.substr(folder.size()))) << p;
  }
}

class FileNamesOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "Program Files/Sub Folder");
    dir.write("Program Files/My Document.txt", "x");
    dir.write("Program Files/.Hidden", "x");
  }
  testing::ScratchDir dir;
  PosixFileSystem fs;
};

TEST_F(FileNamesOnDisk, LongFileNameRebuildsStoredNames) {
  EXPECT_EQ(LongFileName(fs, dir / "PROGRAM FILES/MY DOCUMENT.TXT"), dir / "Program Files/My Document.txt");
  EXPECT_EQ(LongFileName(fs, dir / "program files/sub folder"), dir / "Program Files/Sub Folder");
  EXPECT_EQ(LongFileName(fs, dir / "program files/.HIDDEN"), dir / "Program Files/.Hidden");
  EXPECT_EQ(LongFileName(fs, dir / "Program Files/My Document.txt"), dir / "Program Files/My Document.txt");
}

TEST_F(FileNamesOnDisk, LongFileNameKeepsTheSeparatorsOfThePath) {
  std::string windowsStyle = dir.path() + "PROGRAM FILES\\MY DOCUMENT.TXT";
  EXPECT_EQ(LongFileName(fs, windowsStyle), dir.path() + "Program Files\\My Document.txt");
  EXPECT_EQ(LongFileName(fs, dir / "program files/"), dir / "Program Files/");
}

TEST_F(FileNamesOnDisk, MissingComponentsContributeEmptyNames) {
  EXPECT_EQ(LongFileName(fs, dir / "Program Files/nothing.txt"), dir / "Program Files/");
  EXPECT_EQ(LongFileName(fs, dir / "none/My Document.txt"), dir / "/");
  EXPECT_EQ(LongFileName(fs, ""), "");
}

TEST_F(FileNamesOnDisk, ExactNameWinsThenTheFirstInNameOrder) {
  dir.write("Program Files/photo.jpg", "x");
  dir.write("Program Files/Photo.jpg", "x");
  EXPECT_EQ(LongFileName(fs, dir / "Program Files/photo.jpg"), dir / "Program Files/photo.jpg");
  EXPECT_EQ(LongFileName(fs, dir / "Program Files/PHOTO.JPG"), dir / "Program Files/Photo.jpg");
}

TEST_F(FileNamesOnDisk, ShortFileNameIsThePathItselfWhenItExists) {
  EXPECT_EQ(ShortFileName(fs, dir / "Program Files/My Document.txt"), dir / "Program Files/My Document.txt");
  EXPECT_EQ(ShortFileName(fs, dir / "PROGRAM FILES/MY DOCUMENT.TXT"), dir / "PROGRAM FILES/MY DOCUMENT.TXT");
  EXPECT_EQ(ShortFileName(fs, dir / "Program Files\\Sub Folder\\"), dir / "Program Files\\Sub Folder\\");
  EXPECT_EQ(ShortFileName(fs, dir / "Program Files/missing.txt"), "");
  EXPECT_EQ(ShortFileName(fs, ""), "");
}

}  // namespace
}  // namespace quelo
