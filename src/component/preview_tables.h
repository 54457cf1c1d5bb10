// The tables that the report form fills from its preview grid and the page writer reads: the
// field name of each grid column, and for a picture column the folder of its picture files
// (ending in a separator), else empty. One pair per component (Component::previewTables).
#pragma once

#include <string>
#include <vector>

namespace quelo {

struct PreviewTables {
  std::vector<std::string> gridColumnNames;
  std::vector<std::string> pictureFolders;
};

}  // namespace quelo
