// The files of a folder as a value, to compare a folder before and after a run.
#pragma once

#include <map>
#include <string>

namespace quelo::testing {

// Every file under `folder` (subfolders too) by its name relative to it; none when the folder is
// missing.
using FolderFiles = std::map<std::string, std::string>;
FolderFiles filesUnder(const std::string& folder);

// Makes `folder` hold exactly `files`; an empty set removes the folder.
void setFilesUnder(const std::string& folder, const FolderFiles& files);

}  // namespace quelo::testing
