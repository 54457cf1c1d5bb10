// Changing a Recordset: AddNew, value writes, Update, CancelUpdate. The values of the record
// being added or edited wait in a one-row table until Update puts them into the rows.
#include <algorithm>

#include "data/recordset/recordset.h"

namespace quelo {

Status Recordset::checkWritable() const {
  if (Status s = checkOpen(); !s) return s;
  if (forwardOnly() || lockType_ == ado::adLockReadOnly || lockType_ == ado::adLockUnspecified)
    return ado::notSupported("updating");
  return Status::ok();
}

// The rows of this record set as a table of its own: a view over shared rows is copied first,
// so what a page or a clone's original holds never changes behind its back.
RowTable& Recordset::writableTable() {
  RowSet& rows = *rows_;
  if (rows.table.use_count() > 1 || rows.begin != 0 || rows.count != rows.table->rows()) {
    rows.table = rows.table->copyRange(rows.begin, rows.count);
    rows.begin = 0;
  }
  return *rows.table;
}

Status Recordset::startPending(Edit mode) {
  if (!pending_) pending_ = std::make_unique<RowTable>(fields_->count());
  pending_->clear();
  pending_->appendRow();
  if (mode == Edit::Changing) pending_->copyRow(*rows_->table, rows_->begin + position_, 0);
  edit_ = mode;
  return Status::ok();
}

Status Recordset::addNew() {
  if (Status s = checkWritable(); !s) return s;
  if (Status s = finishEdit(); !s) return s;
  return startPending(Edit::Adding);
}

Status Recordset::setValue(int field, const Variant& value) {
  if (Status s = checkWritable(); !s) return s;
  if (field < 0 || field >= fields_->count()) return ado::error(ado::kErrItemNotFound);
  if (!editing()) {
    if (eof() || bof()) return ado::error(ado::kErrNoCurrentRecord);
    if (Status s = startPending(Edit::Changing); !s) return s;
  }
  pending_->set(0, field, value);
  return Status::ok();
}

Status Recordset::update() {
  if (Status s = checkWritable(); !s) return s;
  return finishEdit();
}

Status Recordset::finishEdit() {
  if (!editing()) return Status::ok();
  RowTable& table = writableTable();
  if (edit_ == Edit::Adding) {
    table.copyRow(*pending_, 0, table.appendRow());
    position_ = rows_->count++;
  } else {
    table.copyRow(*pending_, 0, rows_->begin + position_);
  }
  edit_ = Edit::None;
  return Status::ok();
}

Status Recordset::cancelUpdate() {
  if (Status s = checkOpen(); !s) return s;
  edit_ = Edit::None;
  return Status::ok();
}

Status Recordset::appendRecordFrom(const Recordset& source) {
  if (Status s = checkWritable(); !s) return s;
  if (Status s = finishEdit(); !s) return s;
  const int n = std::min(fields_->count(), source.fields().count());
  if (n > 0) {
    if (auto current = source.cell(0); !current) return current.error();
  }
  RowTable& table = writableTable();
  const int64_t row = table.appendRow();
  for (int f = 0; f < n; ++f) table.setCell(row, f, source.cell(f).value());
  position_ = rows_->count++;
  return Status::ok();
}

}  // namespace quelo
