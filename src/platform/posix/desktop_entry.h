// Desktop entries: the .desktop files that describe the installed applications.
#pragma once

#include <string>
#include <string_view>

namespace quelo {

// The file of a desktop file id (such as "firefox.desktop") under "applications/" of the XDG
// data folders, $XDG_DATA_HOME first, then $XDG_DATA_DIRS; empty when there is none.
std::string findDesktopEntry(const std::string& id);

// The program that an entry's Exec line starts: its first word (quotes and escapes resolved),
// past a leading "env" and its NAME=VALUE settings. Empty when the entry has no Exec line.
std::string desktopEntryProgram(std::string_view contents);

}  // namespace quelo
