// A run read once and kept: every row of a stream is written compactly to a private scratch file
// as it is counted, then handed out again from there. So the query runs once, each row is read
// from the source once, the count is exactly the rows given however the data changes meanwhile,
// a source that fails at any row fails before the first row is handed out, and memory holds one
// row at a time.
#pragma once

#include <memory>

#include "data/recordset/row_source.h"

namespace quelo {

// The rows of `rows`, read to their end now; the stream's error when it fails on the way.
Result<std::unique_ptr<CountedRowStream>> spoolRows(std::unique_ptr<RowStream> rows);
// The rows of `rows`, read into the spool on a thread of their own while the first are handed
// out: the count is known only when the last row is in (rowsAtLeast waits for it), and a source
// that fails part-way fails the reader where it is. For a reader that can drop all it made of
// the rows (a report built beside its pages), never for one that shows them as they come.
Result<std::unique_ptr<CountedRowStream>> spoolRowsBehind(std::unique_ptr<RowStream> rows);

}  // namespace quelo
