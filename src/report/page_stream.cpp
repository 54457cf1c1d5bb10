#include "report/page_stream.h"

#include <algorithm>
#include <cstdint>

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

PageStream::PageStream(std::shared_ptr<Recordset> records, int32_t pageSize)
    : records_(std::move(records)), pageSize_(std::max(pageSize, 1)) {
  auto wanted = recordsOf(1);
  if (!wanted) {
    firstError_ = wanted.error();
    return;
  }
  auto first = records_->takeRecords(wanted.value());
  if (!first)
    firstError_ = first.error();
  else if (first.value()->recordCount().valueOr(0) < wanted.value())
    firstError_ = fewerRecords(*records_);
  else
    first_ = std::move(first).value();
}

// One record past the page tells whether another page follows.
Result<PageStream::Extent> PageStream::extent(int32_t number) {
  const int64_t before = int64_t{number - 1} * pageSize_;
  auto held = recordsAtLeast(before + pageSize_ + 1);
  if (!held) return held.error();
  const int64_t after = held.value() - before;
  return Extent{static_cast<int32_t>(std::clamp<int64_t>(after, 0, pageSize_)), after <= pageSize_};
}

std::optional<int64_t> PageStream::total() const {
  return records_->runRecordsKnown();
}

Result<int64_t> PageStream::countAll() {
  return recordsAtLeast(INT64_MAX);
}

Result<int64_t> PageStream::recordsAtLeast(int64_t wanted) {
  auto held = records_->runRecordsAtLeast(wanted);
  if (!held) return ado::notSupported("reading pages of an uncounted run");
  return *held;
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
    auto records = recordsOf(next_);
    if (!records) return records.error();
    current_ = std::make_shared<PageRecords>(records_, records.value());
    if (next_ == number) break;
  }
  ++next_;
  return current_;
}

// The last page holds the rest.
Result<int32_t> PageStream::recordsOf(int32_t number) {
  auto at = extent(number);
  if (!at) return at.error();
  return at.value().records;
}

}  // namespace quelo
