// The pages of a report read from a forward-only record set as they are written: page after page
// of a fixed number of records. Page 1 is read ahead into a record set of its own (the preview
// shows it); every later page is read in place, each record formatted straight from the source's
// current row, so only the row being read is held in memory. The record set is a counted run:
// the number of pages is known before the first is read, or, when the run is counted while it is
// read, once its last record is in.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "automation/status.h"

namespace quelo {

class Recordset;

// The records of one page as the page writer reads them, in order: a page's own record set, or
// the next records of a forward-only record set, read in place.
class PageRecords {
 public:
  // A page's own record set: all of its records.
  explicit PageRecords(std::shared_ptr<Recordset> page);
  // The next `count` records of a forward-only record set, from its current record on.
  PageRecords(std::shared_ptr<Recordset> records, int32_t count);

  // The record set, on the record to read.
  Recordset& records() const { return *records_; }
  int32_t count() const { return count_; }
  bool atEnd() const;
  // Moves past the record read; an error of the source ends the page (see status()).
  void next();
  // To the page's first record, before it is written and after: a page's own record set is
  // read again from its first record; records read in place are read once.
  void rewind();
  // Reads past the records not read yet, so that the records after the page come next.
  void skipRest();
  // The page with its records not read yet read now into a record set of their own, so that it
  // can be written away from its source (on another thread); a page's own record set as it is.
  // An Error when the source fails meanwhile or gives fewer records than counted.
  Result<std::shared_ptr<PageRecords>> readAhead();
  // What went wrong reading the page: the source's error, or fewer records than counted.
  Status status() const;

 private:
  std::shared_ptr<Recordset> records_;
  int32_t count_ = 0;
  int32_t read_ = 0;
  bool inPlace_ = false;
  Status error_ = Status::ok();
};

class PageStream {
 public:
  // Pages of `pageSize` records of the counted run `records`; page 1 is read now. The run may be
  // counted while it is read: the pages are then known one by one as its records come in.
  PageStream(std::shared_ptr<Recordset> records, int32_t pageSize);

  // Where page `number` stands, once that is known: its records (0: no such page) and whether
  // it is the last. An Error when the source failed.
  struct Extent {
    int32_t records = 0;
    bool last = true;
  };
  Result<Extent> extent(int32_t number);
  // The records of every page, once all are known; none while the run is still counted.
  std::optional<int64_t> total() const;
  // The records of every page, waiting until all are known; an Error when the source failed.
  Result<int64_t> countAll();

  // Page `number` (1 is the first), the last holding the rest. Pages are read in order: pages
  // before `number` and what is left of the page given before are read past. An Error when the
  // source fails meanwhile, when it gives fewer records than it counted, or for a page already
  // read past.
  Result<std::shared_ptr<PageRecords>> page(int32_t number);
  // Page 1, read ahead (for the preview); empty when it could not be read.
  const std::shared_ptr<Recordset>& firstPage() const { return first_; }
  // The records of every page but the last.
  int32_t pageSize() const { return pageSize_; }

 private:
  Result<int32_t> recordsOf(int32_t number);
  Result<int64_t> recordsAtLeast(int64_t wanted);

  std::shared_ptr<Recordset> records_;
  int32_t pageSize_;
  int32_t next_ = 2;  // the page the next read gives
  std::shared_ptr<Recordset> first_;
  Error firstError_;
  std::shared_ptr<PageRecords> current_;  // the page last given, read in place
};

}  // namespace quelo
