#include "reporter/report_pictures.h"

#include "files/file_names.h"
#include "files/path_rules.h"

namespace quelo {
namespace {

// "photo.jpg" as "photo-2.jpg", "photo-3.jpg" ... for the second and later pictures of a name.
std::string numberedName(const std::string& name, int n) {
  if (n == 1) return name;
  const size_t dot = name.rfind('.');
  const size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, stem) + "-" + std::to_string(n) + name.substr(stem);
}

}  // namespace

ReportPictures::ReportPictures(FileSystem& files, std::string reportsFolder, bool copy)
    : files_(files), folder_(posixPath(reportsFolder) + kPictureCopiesFolder + "/"), copy_(copy) {}

std::string ReportPictures::address(const std::string& field, const std::string& path, const std::string& stored) {
  if (stored.empty()) {
    if (noted_.insert(path).second) warnings_.push_back("picture of field " + field + " missing: " + path);
    return stored;
  }
  if (!copy_) return stored;
  auto [at, fresh] = copies_.try_emplace(stored);
  if (fresh) {
    at->second = copy(stored);
    if (at->second.empty()) at->second = stored;  // not copied (and said so): the picture where it is
  }
  return at->second;
}

// Copies the picture under its own name, or a numbered one when another picture holds that name
// already; a copy of the same picture from an earlier run is used again. A name taken by a
// symbolic link is passed over, and the copy is created new (never written through a link).
std::string ReportPictures::copy(const std::string& stored) {
  const std::string source = posixPath(LongFileName(files_, stored));
  const std::string name = source.substr(fileNameStart(source));
  if (!copiesFolderReady()) return {};
  for (int n = 1; n < 1000; ++n) {
    const std::string candidate = numberedName(name, n);
    const std::string target = folder_ + candidate;
    if (files_.isSymlink(target)) continue;
    if (files_.exists(target)) {
      if (sameContent(source, target)) return std::string(kPictureCopiesFolder) + "/" + candidate;
      continue;
    }
    Status s = files_.copyFile(source, target, false);
    if (s) return std::string(kPictureCopiesFolder) + "/" + candidate;
    warnings_.push_back("picture not copied: " + s.error().message);
    return {};
  }
  warnings_.push_back("picture not copied: no free name for " + name + " in " + folder_);
  return {};
}

// The copies' folder is made when missing; one that is a symbolic link is not used.
bool ReportPictures::copiesFolderReady() {
  if (folderChecked_) return folderUsable_;
  folderChecked_ = true;
  const std::string folder = folder_.substr(0, folder_.size() - 1);
  if (files_.isSymlink(folder)) {
    warnings_.push_back("pictures not copied: " + folder + " is a symbolic link");
    return false;
  }
  if (files_.isDirectory(folder)) return folderUsable_ = true;
  Status s = files_.createDirectory(folder);
  if (!s) warnings_.push_back("pictures not copied: " + s.error().message);
  return folderUsable_ = s.isOk();
}

bool ReportPictures::sameContent(const std::string& a, const std::string& b) {
  auto left = files_.readFile(a);
  auto right = files_.readFile(b);
  return left && right && left.value() == right.value();
}

}  // namespace quelo
