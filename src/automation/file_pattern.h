// File-name patterns as file lists take them: wildcards, several patterns separated by ";".
#pragma once

#include <string_view>

namespace quelo {

// Whether `name` matches one of the ";"-separated patterns: "*" stands for any run of
// characters, "?" for one character, and letters match whatever their case. "*.*" matches every
// name, with or without a dot, as users of file dialogs expect.
bool matchesFilePattern(std::string_view name, std::string_view patterns);

}  // namespace quelo
