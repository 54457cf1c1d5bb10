#include "reporter/preview_tables.h"

namespace quelo {

PreviewTables& previewTables() {
  thread_local PreviewTables tables;
  return tables;
}

}  // namespace quelo
