// The current record of a Recordset: moves, end tests, bookmarks, reading values, GetRows.
#include <algorithm>
#include <cmath>

#include "data/recordset/recordset.h"

namespace quelo {

bool Recordset::eof() const {
  if (!open_) return true;
  if (edit_ == Edit::Adding) return false;
  if (forwardOnly()) return streamEnd_;
  return position_ >= count();
}

bool Recordset::bof() const {
  if (!open_) return true;
  if (edit_ == Edit::Adding) return false;
  if (forwardOnly()) return streamEnd_ && position_ == 0;
  return position_ < 0 || count() == 0;
}

Status Recordset::moveTo(int64_t position) {
  if (Status s = checkOpen(); !s) return s;
  if (Status s = finishEdit(); !s) return s;
  position_ = std::clamp<int64_t>(position, -1, count());
  return Status::ok();
}

Status Recordset::moveFirst() {
  if (!forwardOnly()) return moveTo(0);
  if (position_ == 0) return Status::ok();
  // A forward-only cursor starts over by running its source again.
  return requery();
}

Status Recordset::moveLast() {
  if (forwardOnly()) return ado::notSupported("moving backward");
  return moveTo(count() - 1 < 0 ? 0 : count() - 1);
}

Status Recordset::moveNext() { return move(1); }

Status Recordset::movePrevious() { return move(-1); }

Status Recordset::move(int64_t records) {
  if (Status s = checkOpen(); !s) return s;
  if (forwardOnly()) {
    if (records < 0) return ado::notSupported("moving backward");
    for (int64_t i = 0; i < records; ++i) {
      if (streamEnd_) return ado::error(ado::kErrNoCurrentRecord);
      ++position_;
      if (Status s = fetchStreamRow(); !s) return s;
    }
    return Status::ok();
  }
  if (edit_ != Edit::Adding && records != 0) {
    if (records > 0 && eof()) return ado::error(ado::kErrNoCurrentRecord);
    if (records < 0 && bof()) return ado::error(ado::kErrNoCurrentRecord);
  }
  const int64_t from = edit_ == Edit::Adding ? count() : position_;
  if (Status s = finishEdit(); !s) return s;
  // Past either end is before the first or after the last record (and never an overflow).
  const int64_t room = records > 0 ? count() - from : -1 - from;
  return moveTo(from + (records > 0 ? std::min(records, room) : std::max(records, room)));
}

Result<int64_t> Recordset::recordCount() const {
  if (Status s = checkOpen(); !s) return s.error();
  return forwardOnly() ? int64_t{-1} : count();
}

Result<Variant> Recordset::bookmark() const {
  if (Status s = checkOpen(); !s) return s.error();
  if (forwardOnly()) return ado::notSupported("bookmarks");
  if (eof() || bof() || edit_ == Edit::Adding) return ado::error(ado::kErrNoCurrentRecord);
  return Variant(static_cast<double>(position_ + 1));
}

Status Recordset::setBookmark(const Variant& bookmark) {
  if (Status s = checkOpen(); !s) return s;
  if (forwardOnly()) return ado::notSupported("bookmarks");
  auto number = toDouble(bookmark);
  if (!number || number.value() != std::floor(number.value()) || number.value() < 1 ||
      number.value() > static_cast<double>(count()))
    return ado::error(ado::kErrArguments);
  return moveTo(static_cast<int64_t>(number.value()) - 1);
}

Result<CellView> Recordset::cell(int field) const {
  if (!open_) return ado::error(ado::kErrClosed);
  if (field < 0 || field >= fields_->count()) return ado::error(ado::kErrItemNotFound);
  if (!editing() && eof()) return ado::error(ado::kErrNoCurrentRecord);
  if (!editing() && bof()) return ado::error(ado::kErrNoCurrentRecord);
  return currentCell(field);
}

CellView Recordset::currentCell(int field) const {
  if (editing()) return pending_->cell(0, field);
  if (forwardOnly()) return stream_->cell(field);
  return rows_->table->cell(rows_->begin + position_, field);
}

Result<Variant> Recordset::value(int field) const {
  auto c = cell(field);
  if (!c) return c.error();
  return c.value().toVariant();
}

Result<Variant> Recordset::value(std::string_view name) const {
  auto index = fieldIndex(name);
  if (!index) return index.error();
  return value(index.value());
}

Result<std::shared_ptr<VariantArray>> Recordset::getRows(int64_t rows) {
  if (Status s = checkOpen(); !s) return s.error();
  if (Status s = finishEdit(); !s) return s.error();
  if (rows < ado::adGetRowsRest) return ado::error(ado::kErrArguments);
  if (eof() || bof()) return ado::error(ado::kErrNoCurrentRecord);
  const int fieldCount = fields_->count();
  const int64_t wanted = rows == ado::adGetRowsRest ? INT64_MAX : rows;
  std::vector<Variant> items;
  if (!forwardOnly()) items.reserve(static_cast<size_t>(std::min(wanted, count() - position_) * fieldCount));
  int64_t fetched = 0;
  while (fetched < wanted && !eof()) {
    for (int f = 0; f < fieldCount; ++f) items.push_back(cell(f).value().toVariant());
    ++fetched;
    if (Status s = moveNext(); !s) return s.error();
  }
  if (fetched > INT32_MAX) return ado::error(ado::kErrArguments);
  auto array = std::make_shared<VariantArray>(std::vector<VariantArray::Bound>{
      {0, static_cast<int32_t>(fieldCount)}, {0, static_cast<int32_t>(fetched)}});
  array->elements() = std::move(items);
  return array;
}

}  // namespace quelo
