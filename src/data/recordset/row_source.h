// Where the rows of a record set come from. A RowSource is a query that can be run (and run
// again, for Requery); each run is a RowStream that hands out rows one at a time, so a
// forward-only record set holds one row however large the result is.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/recordset/field_list.h"
#include "data/recordset/row_table.h"
#include "automation/status.h"

namespace quelo {

class RowStream {
 public:
  virtual ~RowStream() = default;
  // The columns of the result, in order; fixed for the life of the stream.
  virtual const std::vector<FieldInfo>& fields() const = 0;
  // Appends the next row to `table` (whose columns are fields().size()) and returns true, or
  // returns false at the end of the rows. An Error (a malformed line, a lost connection) names
  // the file and line or the server's message; the stream is unusable afterwards.
  virtual Result<bool> readRow(RowTable& table) = 0;

  // The rows read in place, one at a time: next() moves to the next row and returns true, or
  // returns false at the end (or an Error, as readRow does); cell() reads a column of that row,
  // its text valid until the next move. A stream reads either this way or with readRow, never
  // both. By default each row is read with readRow into a row of the stream's own.
  virtual Result<bool> next();
  // REQUIRES: the last next() gave true; 0 <= column < fields().size().
  virtual CellView cell(int column) const;

 private:
  std::unique_ptr<RowTable> row_;  // the current row of the default next()
};

// A run whose rows were counted before the first was read, so that it gives exactly count() rows
// however the data changes meanwhile.
class CountedRowStream : public RowStream {
 public:
  // -1 for a run that cannot be counted ahead: it is read as any run is.
  virtual int64_t count() const = 0;
  // The rows of the run, from its first, once it is known to hold `wanted` of them or all it
  // holds are known: `wanted`, or the count when that is fewer. A run counted while it is read
  // (spoolRowsBehind) waits for its rows, and gives the source's error once the source failed.
  virtual Result<int64_t> rowsAtLeast(int64_t wanted) { return std::min(wanted, count()); }
  // The count, without waiting: none while the run is still being counted (or failed).
  virtual std::optional<int64_t> countIfKnown() const {
    const int64_t n = count();
    return n >= 0 ? std::optional<int64_t>(n) : std::nullopt;
  }
};

// How a counted run is counted: before its first row is handed out, or while its rows are handed
// out (spoolRowsBehind), for a reader that can drop all it made of them.
enum class Counting { First, WhileRead };

// Makes a Stream and starts it with the arguments; a stream that cannot start is its Error.
template <class Stream, class... Args>
Result<std::unique_ptr<RowStream>> startStream(const Args&... args) {
  auto stream = std::make_unique<Stream>();
  if (Status s = stream->start(args...); !s) return s.error();
  return std::unique_ptr<RowStream>(std::move(stream));
}

class RowSource {
 public:
  virtual ~RowSource() = default;
  // Runs the query or opens the file; a source that cannot be reached is an Error saying why.
  virtual Result<std::unique_ptr<RowStream>> run() const = 0;
  // Runs the query with its rows counted first (see CountedRowStream). By default the run is
  // read to its end into a private spool (spooled_rows.h): the query runs once. A source that
  // knows its count without that keeps it; one that cannot count returns error 3251.
  virtual Result<std::unique_ptr<CountedRowStream>> runCounted() const;
  // Runs the query counted while it is read (see Counting::WhileRead). By default the run is
  // spooled on a thread of its own; a source that counts ahead anyway, or whose rows must be
  // read on the caller's thread, runs counted first.
  virtual Result<std::unique_ptr<CountedRowStream>> runCountedWhileRead() const;
  // What the source is, for messages and ActiveConnection ("sqlite:/data/shop.db").
  virtual std::string description() const = 0;
};

}  // namespace quelo

namespace quelo {

// A source whose runs are counted runs of `source`: a forward-only record set over it knows how
// many records it will give.
std::shared_ptr<RowSource> countedRows(std::shared_ptr<const RowSource> source,
                                       Counting counting = Counting::First);

}  // namespace quelo
