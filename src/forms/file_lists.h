// The drive, folder and file lists of the forms engine. On Linux a drive is a mounted file
// system (its mount point); folders and files are read through the FileSystem. Entries whose
// names start with "." are hidden, as hidden entries are in such lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "forms/standard_controls.h"
#include "platform/mount_table.h"

namespace quelo::forms {

class DriveListBox : public ListControl {
 public:
  DriveListBox(Form& f, std::string name, int index) : ListControl(f, ControlKind::DriveListBox, std::move(name), index) {}
  // REQUIRES: called once by the form's build, before any other member.
  void attach(MountTable& mounts);
  // The mount point of the selected drive.
  const std::string& drive() const { return drive_; }
  // Any path selects the drive it lies on; fires Change when the drive changes. A path on no
  // drive (not absolute) fails.
  Status setDrive(std::string_view path);
  std::string driveOf(std::string_view path) const;
  // Re-reads the mounted file systems.
  void refresh();

 private:
  MountTable* mounts_ = nullptr;
  std::vector<std::string> drives_;
  std::string drive_;
};

class DirListBox : public ListControl {
 public:
  DirListBox(Form& f, std::string name, int index) : ListControl(f, ControlKind::DirListBox, std::move(name), index) {}
  // REQUIRES: called once by the form's build, before any other member.
  void attach(FileSystem& files) { files_ = &files; }
  // The folder shown, without a trailing separator (except "/").
  const std::string& path() const { return path_; }
  // Anything but a readable folder fails (path not found) and changes nothing; fires Change when
  // the folder changes.
  Status setPath(std::string_view folder);
  // The entries are the folder's ancestors from "/" down, the folder itself, then its
  // subfolders; this is the folder an entry stands for.
  std::string entryPath(int32_t i) const;
  // The user opens an entry (a double click): the list moves to that folder.
  void open(int32_t i);
  void refresh();

 private:
  FileSystem* files_ = nullptr;
  std::string path_;
  std::vector<std::string> paths_;
};

class FileListBox : public ListControl {
 public:
  FileListBox(Form& f, std::string name, int index) : ListControl(f, ControlKind::FileListBox, std::move(name), index) {}
  // REQUIRES: called once by the form's build, before any other member.
  void attach(FileSystem& files) { files_ = &files; }
  const std::string& path() const { return path_; }
  // Both re-read the list.
  void setPath(std::string_view folder);
  const std::string& pattern() const { return pattern_; }
  void setPattern(std::string_view pattern);
  // The files of the folder that match the pattern, sorted by name without regard to case.
  void refresh();
  // The selected entry, empty when none.
  std::string fileName() const { return list(listIndex()); }

 private:
  FileSystem* files_ = nullptr;
  std::string path_;
  std::string pattern_ = "*.*";
};

// Folder paths as the lists keep them: trailing separators dropped, except for "/".
std::string folderPath(std::string_view path);

}  // namespace quelo::forms
