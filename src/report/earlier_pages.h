// The pages an earlier report under the same base name left in the Reports folder, removed so
// that a new report stands alone instead of being appended to them.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quelo {

// Whether `name` is a page file that a report under `baseName` writes: the base name itself or
// the base name with a page number before its extension.
bool isPageOfReport(const std::string& name, const std::string& baseName);

// Removes from `folder` (ending in a separator) every entry that isPageOfReport names, and
// nothing else: a symbolic link of such a name is removed itself, never what it points to, and a
// folder is left alone. A missing folder holds nothing to remove. The caller holds the folder's
// lock, so that no other run's update of a page is cut short.
Status removeEarlierPages(FileSystem& files, const std::string& folder,
                          const std::string& baseName);

}  // namespace quelo
