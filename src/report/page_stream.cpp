#include "report/page_stream.h"

#include <algorithm>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"

namespace quelo {
namespace {

Error fewerRecords(const Recordset& records) {
  return ado::dataSourceError(records.connectionDescription() +
                              ": the data gave fewer records than it counted");
}

}  // namespace

PageRecords::PageRecords(std::shared_ptr<Recordset> page) : records_(std::move(page)) {
  count_ = static_cast<int32_t>(records_->recordCount().valueOr(0));
}

PageRecords::PageRecords(std::shared_ptr<Recordset> records, int32_t count)
    : records_(std::move(records)), count_(count), inPlace_(true) {}

bool PageRecords::atEnd() const {
  return read_ >= count_ || records_->eof();
}

void PageRecords::next() {
  ++read_;
  if (Status s = records_->moveNext(); !s && inPlace_ && error_) error_ = s;
}

void PageRecords::rewind() {
  if (!inPlace_) (void)records_->moveFirst();
}

void PageRecords::skipRest() {
  while (!atEnd()) next();
}

Result<std::shared_ptr<PageRecords>> PageRecords::readAhead() {
  if (!inPlace_) return std::make_shared<PageRecords>(records_);
  const int32_t wanted = count_ - read_;
  auto rest = records_->takeRecords(wanted);
  if (!rest) return rest.error();
  if (rest.value()->recordCount().valueOr(0) < wanted) return fewerRecords(*records_);
  read_ = count_;
  return std::make_shared<PageRecords>(std::move(rest).value());
}

Status PageRecords::status() const {
  if (!error_) return error_;
  if (inPlace_ && read_ < count_ && records_->eof()) return fewerRecords(*records_);
  return Status::ok();
}

PageStream::PageStream(std::shared_ptr<Recordset> records, int32_t pageSize, int64_t total)
    : records_(std::move(records)), pageSize_(std::max(pageSize, 1)), total_(total) {
  const int32_t wanted = recordsOf(1);
  auto first = records_->takeRecords(wanted);
  if (!first)
    firstError_ = first.error();
  else if (first.value()->recordCount().valueOr(0) < wanted)
    firstError_ = fewerRecords(*records_);
  else
    first_ = std::move(first).value();
}

Result<std::shared_ptr<PageRecords>> PageStream::page(int32_t number) {
  if (number == 1 && next_ == 2 && !current_) {
    if (!first_) return firstError_;
    return std::make_shared<PageRecords>(first_);
  }
  if (number < next_) return ado::notSupported("reading a page again");
  for (;; ++next_) {
    if (current_) {
      current_->skipRest();
      if (Status s = current_->status(); !s) return s.error();
    }
    current_ = std::make_shared<PageRecords>(records_, recordsOf(next_));
    if (next_ == number) break;
  }
  ++next_;
  return current_;
}

// The last page holds the rest.
int32_t PageStream::recordsOf(int32_t number) const {
  const int64_t first = int64_t{number - 1} * pageSize_;
  return static_cast<int32_t>(std::clamp<int64_t>(total_ - first, 0, pageSize_));
}

}  // namespace quelo
