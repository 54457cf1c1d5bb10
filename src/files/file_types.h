// The file types of the file dialog (DirFileType): the entries of its type list and the
// file-list pattern of each.
#pragma once

#include <cstdint>
#include <string>

namespace quelo {

inline constexpr int kFileTypeCount = 8;

// "All", "Documents", ... "Movie" for 0 to 7.
const char* fileTypeItem(int index);
// The pattern of a file type; any index outside 0 to 7 gives "*.*". The index comes by
// reference, as the shared function has always taken it.
std::string fileTypePattern(int16_t& index);

}  // namespace quelo
