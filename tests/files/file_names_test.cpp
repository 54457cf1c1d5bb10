#include "files/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

// The name is what follows the last separator ("\\", "/" or a drive's ":"), in capitals when
// there was a separator; the folder is what precedes it, as spelled.
TEST(FileNames, NameAndFolderOfAPath) {
  const struct { const char *path, *name, *folder; } cases[] = {
      {"C:\\Data\\Photo.jpg", "PHOTO.JPG", "C:\\Data\\"},
      {"c:\\data\\PHOTO.JPG", "PHOTO.JPG", "c:\\data\\"},
      {"C:Photo.jpg", "PHOTO.JPG", "C:"},
      {"/home/ann/Photo.jpg", "PHOTO.JPG", "/home/ann/"},
      {"Data/x:y\\Foto-\xC3\xA9t\xC3\xA9.jpg", "FOTO-\xC3\x89T\xC3\x89.JPG", "Data/x:y\\"},
      {"/data/a:b.txt", "A:B.TXT", "/data/"},  // the last separator wins over a ":"
      {"Photo.jpg", "Photo.jpg", ""},
      {"C:\\Data\\", "", "C:\\Data\\"},
      {"/home/ann/", "", "/home/ann/"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(justFileName(c.path), c.name) << c.path;
    EXPECT_EQ(FileFolder(c.path), c.folder) << c.path;
  }
}

// The results of the directory lookup on a real tree, as callers rely on them: stored names for
// every component, the separators of the path kept, an empty name for each component that matches
// nothing, and the first in name order when only the case differs.
TEST(FileNamesOnDisk, LongAndShortNamesOfATree) {
  testing::ScratchDir dir;
  std::filesystem::create_directories(dir / "Program Files/Sub Folder");
  std::filesystem::create_directories(dir / "Case");
  for (const char* file : {"Program Files/My Document.txt", "Program Files/.Hidden", "Program Files/photo.jpg",
                           "Program Files/Photo.jpg", "Case/x", "Case/X"})
    dir.write(file, "x");
  PosixFileSystem fs;
  const std::string d = dir.path();
  const struct { std::string (*function)(FileSystem&, std::string_view); std::string path, expected; } cases[] = {
      {LongFileName, d + "PROGRAM FILES/MY DOCUMENT.TXT", d + "Program Files/My Document.txt"},
      {LongFileName, d + "program files/sub folder", d + "Program Files/Sub Folder"},
      {LongFileName, d + "program files/.HIDDEN", d + "Program Files/.Hidden"},
      {LongFileName, d + "Program Files/My Document.txt", d + "Program Files/My Document.txt"},
      {LongFileName, d + "PROGRAM FILES\\MY DOCUMENT.TXT", d + "Program Files\\My Document.txt"},
      {LongFileName, d + "program files/", d + "Program Files/"},
      {LongFileName, d + "PROGRAM FILES//MY DOCUMENT.TXT", d + "Program Files//My Document.txt"},
      {LongFileName, d + "Program Files/./MY DOCUMENT.TXT", d + "Program Files/./My Document.txt"},
      {LongFileName, d + "PROGRAM FILES/./my document.txt", d + "Program Files//"},
      {LongFileName, d + "Program Files/nothing.txt", d + "Program Files/"},
      {LongFileName, d + "none/My Document.txt", d + "/"},
      {LongFileName, d + "Program Files/photo.jpg", d + "Program Files/photo.jpg"},
      {LongFileName, d + "Program Files/PHOTO.JPG", d + "Program Files/Photo.jpg"},
      {LongFileName, d + "CASE/x", d + "Case/X"},
      {LongFileName, "/", "/"},
      {LongFileName, "", ""},
      {ShortFileName, d + "Program Files/My Document.txt", d + "Program Files/My Document.txt"},
      {ShortFileName, d + "PROGRAM FILES/MY DOCUMENT.TXT", d + "PROGRAM FILES/MY DOCUMENT.TXT"},
      {ShortFileName, d + "Program Files\\Sub Folder\\", d + "Program Files\\Sub Folder\\"},
      {ShortFileName, d + "CASE//x", d + "CASE//x"},
      {ShortFileName, d + "Program Files/missing.txt", ""},
      {ShortFileName, d + "PROGRAM FILES/./my document.txt", ""},
      {ShortFileName, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.function(fs, c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace quelo
