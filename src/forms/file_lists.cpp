#include "forms/file_lists.h"

#include <algorithm>

#include "automation/file_pattern.h"
#include "automation/text.h"

namespace quelo::forms {
namespace {

bool hidden(const std::string& name) { return name.starts_with('.'); }

// Names of the folder's entries of one kind, visible ones only, sorted without regard to case.
std::vector<std::string> entryNames(FileSystem& files, const std::string& folder, bool directories) {
  std::vector<std::string> names;
  auto entries = files.list(folder);
  if (!entries) return names;
  for (const DirEntry& e : entries.value())
    if (e.isDirectory == directories && !hidden(e.name)) names.push_back(e.name);
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  return names;
}

// "/", "/home", "/home/ann" for "/home/ann".
std::vector<std::string> ancestorsAndSelf(const std::string& path) {
  if (!path.starts_with('/')) return {path};
  std::vector<std::string> out{"/"};
  for (size_t at = 1; at < path.size();) {
    size_t next = path.find('/', at);
    if (next == std::string::npos) next = path.size();
    out.push_back(path.substr(0, next));
    at = next + 1;
  }
  return out;
}

std::string join(const std::string& folder, const std::string& name) {
  return folder + (folder.ends_with('/') ? "" : "/") + name;
}

}  // namespace

std::string folderPath(std::string_view path) {
  std::string p(path);
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  return p;
}

// ---- DriveListBox

void DriveListBox::attach(MountTable& mounts) {
  mounts_ = &mounts;
  refresh();
}

void DriveListBox::refresh() {
  auto table = mounts_->mounts();
  drives_ = driveMountPoints(table ? table.value() : std::vector<MountPoint>{});
  items_.clear();
  listIndex_ = -1;
  for (const std::string& d : drives_) items_.push_back(Item{d});
  const auto at = std::find(drives_.begin(), drives_.end(), drive_);
  listIndex_ = at == drives_.end() ? -1 : static_cast<int32_t>(at - drives_.begin());
  changed(Property::List);
}

std::string DriveListBox::driveOf(std::string_view path) const { return driveOfPath(drives_, path); }

Status DriveListBox::setDrive(std::string_view path) {
  const std::string drive = driveOf(path);
  if (drive.empty()) return makeError(err::kPathNotFound, "No drive holds '" + std::string(path) + "'");
  const auto at = std::find(drives_.begin(), drives_.end(), drive);
  setListIndex(static_cast<int32_t>(at - drives_.begin()));
  if (drive == drive_) return Status::ok();
  drive_ = drive;
  changed(Property::Drive);
  fire(onChange);
  return Status::ok();
}

// ---- DirListBox

Status DirListBox::setPath(std::string_view folder) {
  const std::string p = folderPath(folder);
  if (p.empty() || !files_->isDirectory(p) || !files_->list(p))
    return makeError(err::kPathNotFound, "Path not found: '" + std::string(folder) + "'");
  if (p == path_) return Status::ok();
  path_ = p;
  refresh();
  changed(Property::Path);
  fire(onChange);
  return Status::ok();
}

void DirListBox::refresh() {
  paths_ = ancestorsAndSelf(path_);
  items_.clear();
  std::string indent;
  for (const std::string& p : paths_) {
    const size_t slash = p.rfind('/');
    items_.push_back(Item{indent + (p == "/" ? "/" : p.substr(slash + 1))});
    indent += "  ";
  }
  listIndex_ = static_cast<int32_t>(paths_.size()) - 1;
  for (const std::string& name : entryNames(*files_, path_, true)) {
    paths_.push_back(join(path_, name));
    items_.push_back(Item{indent + name});
  }
  changed(Property::List);
}

std::string DirListBox::entryPath(int32_t i) const {
  return i >= 0 && i < static_cast<int32_t>(paths_.size()) ? paths_[static_cast<size_t>(i)] : std::string();
}

void DirListBox::open(int32_t i) {
  const std::string target = entryPath(i);
  if (!target.empty()) (void)setPath(target);
}

// ---- FileListBox

void FileListBox::setPath(std::string_view folder) {
  path_ = folderPath(folder);
  refresh();
}

void FileListBox::setPattern(std::string_view pattern) {
  pattern_ = std::string(pattern);
  refresh();
}

void FileListBox::refresh() {
  items_.clear();
  listIndex_ = -1;
  if (!path_.empty())
    for (std::string& name : entryNames(*files_, path_, false))
      if (matchesFilePattern(name, pattern_)) items_.push_back(Item{std::move(name)});
  changed(Property::List);
}

}  // namespace quelo::forms
