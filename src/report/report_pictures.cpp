#include "report/report_pictures.h"

#include "files/file_names.h"
#include "files/path_rules.h"

namespace quelo {

ReportPictures::ReportPictures(FileSystem& files, std::string reportsFolder, bool copy)
    : files_(files),
      folder_(posixPath(reportsFolder) + kPictureCopiesFolder),
      copy_(copy),
      copies_(files, folder_) {}

std::string ReportPictures::address(const std::string& field, const std::string& path,
                                    const std::string& stored) {
  if (stored.empty()) {
    noteMissing(field, path);
    return stored;
  }
  if (!copy_) return stored;
  auto [at, fresh] = addresses_.try_emplace(stored);
  if (fresh) {
    at->second = copy(field, stored);
    if (at->second.empty())
      at->second = stored;  // not copied (and said so): the picture where it is
  }
  return at->second;
}

void ReportPictures::noteMissing(const std::string& field, const std::string& path) {
  if (noted_.insert(path).second)
    warnings_.push_back("picture of field " + field + " missing: " + path);
}

// The copy's address relative to the pages, or empty when the picture is not copied.
std::string ReportPictures::copy(const std::string& field, const std::string& stored) {
  if (!copiesFolderReady()) return {};
  const std::string source = posixPath(LongFileName(files_, stored));
  auto copied = copies_.copy(source);
  if (!copied) {
    warnings_.push_back("picture of field " + field + " not copied: " + copied.error().message);
    return {};
  }
  return std::string(kPictureCopiesFolder) + "/" + copied.value();
}

bool ReportPictures::copiesFolderReady() {
  if (folderChecked_) return folderUsable_;
  folderChecked_ = true;
  Status s = copies_.prepare();
  if (!s) warnings_.push_back("pictures not copied: " + s.error().message);
  return folderUsable_ = s.isOk();
}

}  // namespace quelo
