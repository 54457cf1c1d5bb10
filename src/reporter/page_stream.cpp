#include "reporter/page_stream.h"

#include <algorithm>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"

namespace quelo {

PageStream::PageStream(std::shared_ptr<Recordset> records, int32_t pageSize, int64_t total)
    : records_(std::move(records)), pageSize_(std::max(pageSize, 1)), total_(total) {
  auto first = read(1);
  if (first) first_ = std::move(first).value();
  else firstError_ = first.error();
}

Result<std::shared_ptr<Recordset>> PageStream::page(int32_t number) {
  if (number == 1 && next_ == 2) {
    if (!first_) return firstError_;
    return first_;
  }
  if (number < next_) return ado::notSupported("reading a page again");
  for (;;) {
    auto page = read(next_);
    if (!page || next_ > number) return page;
  }
}

Result<std::shared_ptr<Recordset>> PageStream::read(int32_t number) {
  const int64_t first = int64_t{number - 1} * pageSize_;
  const int64_t wanted = std::clamp<int64_t>(total_ - first, 0, pageSize_);
  next_ = number + 1;
  auto page = records_->takeRecords(wanted);
  if (!page) return page.error();
  if (page.value()->recordCount().valueOr(0) < wanted)
    return ado::dataSourceError(records_->connectionDescription() + ": the data gave fewer records than it counted");
  return page;
}

}  // namespace quelo
