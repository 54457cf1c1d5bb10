// The pictures of one report run: the address each picture cell refers to, the copies made
// beside the pages when the report asks for them (so the Reports folder can be moved or served as
// it is), and a word about every picture file that is missing.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "report/picture_copies.h"

namespace quelo {

// The subfolder of the Reports folder that holds the copied pictures.
inline constexpr const char* kPictureCopiesFolder = "pictures";

class ReportPictures {
 public:
  // `reportsFolder` ends in a separator. Without `copy`, pictures are referred to where they are.
  ReportPictures(FileSystem& files, std::string reportsFolder, bool copy);

  // The address of the picture at `path` (its stored form `stored`, empty when the file is
  // missing) for a cell of `field`: the stored path, or the copy's path relative to the pages.
  // Each picture is copied once; a missing one is noted once and gets an empty address, one that
  // cannot be copied is noted and keeps its stored path.
  std::string address(const std::string& field, const std::string& path, const std::string& stored);
  // Notes a missing picture of `field` once.
  void noteMissing(const std::string& field, const std::string& path);

  bool copying() const { return copy_; }

  // What went wrong, one line each: missing pictures, pictures that could not be copied.
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  std::string copy(const std::string& field, const std::string& stored);
  bool copiesFolderReady();

  FileSystem& files_;
  std::string folder_;  // the copies' folder
  bool copy_;
  PictureCopies copies_;
  bool folderChecked_ = false, folderUsable_ = false;
  std::map<std::string, std::string> addresses_;  // stored path -> the address written for it
  std::set<std::string> noted_;                   // missing pictures already warned of
  std::vector<std::string> warnings_;
};

}  // namespace quelo
