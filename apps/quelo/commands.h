// The subcommands of the quelo command line. Each returns the process's exit status.
#pragma once

#include <string>
#include <vector>

namespace quelo::cli {

using Words = std::vector<std::string>;

int describeCommand(const Words& args);
int callCommand(const Words& args);
int reportCommand(const Words& args);

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFalse = 1;
inline constexpr int kExitUsage = 2;

// "quelo: MESSAGE" on stderr, with a hint to the --help of `command` (of quelo itself when
// empty); returns kExitUsage.
int usageError(const std::string& message, const std::string& command = {});
// When the settings store could not be used (refused, corrupt, unreadable), one line on stderr
// naming it and why; the run went on without the stored preferences.
void tellSettingsProblem(const std::string& problem);
// A folder given on the command line as an absolute path with a trailing "/".
std::string absoluteFolder(const std::string& dir);

}  // namespace quelo::cli
