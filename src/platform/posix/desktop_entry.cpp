#include "platform/posix/desktop_entry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace quelo {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::vector<std::string> dataFolders() {
  std::vector<std::string> folders;
  std::string home = env("XDG_DATA_HOME");
  if (home.empty() && !env("HOME").empty()) home = env("HOME") + "/.local/share";
  if (!home.empty()) folders.push_back(home);
  std::string dirs = env("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  std::istringstream list(dirs);
  for (std::string d; std::getline(list, d, ':');)
    if (!d.empty()) folders.push_back(d);
  return folders;
}

bool isFile(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The value of the Exec key of the [Desktop Entry] group, still escaped.
std::string execValue(std::string_view contents) {
  std::istringstream in{std::string(contents)};
  bool inEntry = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry || !line.starts_with("Exec")) continue;
    const size_t eq = line.find_first_not_of(' ', 4);
    if (eq == std::string::npos || line[eq] != '=') continue;  // another key, such as Exec[xx]
    const size_t start = line.find_first_not_of(' ', eq + 1);
    return start == std::string::npos ? "" : line.substr(start);
  }
  return {};
}

// Resolves the escapes of a string value: \s \n \t \r \\.
std::string unescapeValue(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    const char c = v[++i];
    out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return out;
}

// Splits a command line by the Exec rules: words apart by spaces, double quotes around a word
// with spaces, and inside quotes a backslash before " ` $ or \ stands for that character.
std::vector<std::string> execWords(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size() && std::string_view("\"`$\\").find(line[i + 1]) != std::string_view::npos)
        word += line[++i];
      else if (c == '"')
        quoted = false;
      else
        word += c;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      quoted = c == '"';
      if (!quoted) word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

}  // namespace

std::string findDesktopEntry(const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos) return {};
  for (const std::string& folder : dataFolders()) {
    const std::string path = folder + "/applications/" + id;
    if (isFile(path)) return path;
  }
  return {};
}

std::string desktopEntryProgram(std::string_view contents) {
  const std::vector<std::string> words = execWords(unescapeValue(execValue(contents)));
  size_t i = 0;
  if (!words.empty() && (words[0] == "env" || words[0].ends_with("/env"))) {
    ++i;
    while (i < words.size() && words[i].find('=') != std::string::npos) ++i;
  }
  return i < words.size() ? words[i] : "";
}

}  // namespace quelo
