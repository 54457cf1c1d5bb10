#include "fakes/folder_files.h"

#include <filesystem>
#include <fstream>

#include "fakes/scratch_dir.h"

namespace quelo::testing {

namespace fs = std::filesystem;

FolderFiles filesUnder(const std::string& folder) {
  FolderFiles files;
  if (!fs::exists(folder)) return files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (e.is_directory()) continue;
    files[fs::relative(e.path(), folder)] = fileText(e.path());
  }
  return files;
}

void setFilesUnder(const std::string& folder, const FolderFiles& files) {
  fs::remove_all(folder);
  for (const auto& [name, text] : files) {
    const fs::path path = fs::path(folder) / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
}

}  // namespace quelo::testing
