// The pages of a report read from a forward-only record set as they are written: page after page
// of a fixed number of records, with only the page being written held in memory. The record set
// is a counted run, so the number of pages is known before the first is read.
#pragma once

#include <cstdint>
#include <memory>

#include "automation/status.h"

namespace quelo {

class Recordset;

class PageStream {
 public:
  // Pages of `pageSize` records of the `total` that `records` will give; page 1 is read now.
  PageStream(std::shared_ptr<Recordset> records, int32_t pageSize, int64_t total);

  // Page `number` (1 is the first), the last holding the rest. Pages are read in order; pages
  // before `number` are read past. An Error when the source fails, when it gives fewer records
  // than it counted, or for a page already read past.
  Result<std::shared_ptr<Recordset>> page(int32_t number);
  // Page 1, read ahead (for the preview); empty when it could not be read.
  const std::shared_ptr<Recordset>& firstPage() const { return first_; }

 private:
  Result<std::shared_ptr<Recordset>> read(int32_t number);

  std::shared_ptr<Recordset> records_;
  int32_t pageSize_;
  int64_t total_;
  int32_t next_ = 1;  // the page the next read gives
  std::shared_ptr<Recordset> first_;
  Error firstError_;
};

}  // namespace quelo
