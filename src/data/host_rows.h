// A host's own records (varnikquelo::RecordSource) as the rows of a record set: each run is one
// pass of the host's, its values converted as they are read.
#pragma once

#include <memory>

#include <varnikquelo/records.h>

#include "data/recordset/row_source.h"

namespace quelo {

std::shared_ptr<RowSource> hostRows(std::shared_ptr<const varnikquelo::RecordSource> source);

}  // namespace quelo
