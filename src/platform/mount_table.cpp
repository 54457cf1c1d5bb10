#include "platform/mount_table.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace quelo {
namespace {

std::string unescapeOctal(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                       std::all_of(field.begin() + static_cast<long>(i) + 1, field.begin() + static_cast<long>(i) + 4,
                                   [](char c) { return c >= '0' && c <= '7'; });
    if (octal) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool isPseudoType(std::string_view type) {
  static const std::set<std::string, std::less<>> kPseudo{
      "proc",     "sysfs",  "devpts",     "devtmpfs",  "cgroup",  "cgroup2",     "mqueue", "debugfs",
      "tracefs",  "securityfs", "pstore", "bpf",       "autofs",  "hugetlbfs",   "configfs", "fusectl",
      "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs", "ramfs"};
  return kPseudo.count(type) > 0;
}

bool under(std::string_view path, std::string_view tree) {
  return path == tree || (path.size() > tree.size() && path.starts_with(tree) && path[tree.size()] == '/');
}

bool isSystemTree(std::string_view path) {
  if (under(path, "/run/media")) return false;
  return under(path, "/proc") || under(path, "/sys") || under(path, "/dev") || under(path, "/run");
}

}  // namespace

std::vector<MountPoint> parseMountTable(std::string_view text) {
  std::vector<MountPoint> out;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, path, type;
    if (!(fields >> device >> path >> type)) continue;
    out.push_back({unescapeOctal(device), unescapeOctal(path), unescapeOctal(type)});
  }
  return out;
}

std::vector<std::string> driveMountPoints(const std::vector<MountPoint>& mounts) {
  std::set<std::string> drives{"/"};
  for (const MountPoint& m : mounts)
    if (m.path.starts_with('/') && !isPseudoType(m.type) && !isSystemTree(m.path)) drives.insert(m.path);
  return {drives.begin(), drives.end()};
}

std::string driveOfPath(const std::vector<std::string>& drives, std::string_view path) {
  if (!path.starts_with('/')) return {};
  std::string best = "/";
  for (const std::string& d : drives)
    if (d != "/" && under(path, d) && d.size() > best.size()) best = d;
  return best;
}

}  // namespace quelo
