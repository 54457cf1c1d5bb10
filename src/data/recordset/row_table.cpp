#include "data/recordset/row_table.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "data/recordset/prefault.h"

namespace quelo {
namespace {

constexpr int64_t kFirstCapacity = 8;

uint64_t bitsOf(double d) { return std::bit_cast<uint64_t>(d); }
double doubleOf(uint64_t bits) { return std::bit_cast<double>(bits); }

Variant bytesToArray(std::string_view bytes) {
  auto array = std::make_shared<VariantArray>(
      std::vector<VariantArray::Bound>{{0, static_cast<int32_t>(bytes.size())}});
  auto& items = array->elements();
  for (size_t i = 0; i < bytes.size(); ++i)
    items[i] = Variant(static_cast<int16_t>(static_cast<unsigned char>(bytes[i])));
  return Variant(std::move(array));
}

}  // namespace

Variant CellView::toVariant() const {
  switch (kind) {
    case CellKind::Empty: return Variant();
    case CellKind::Null: return Variant::null();
    case CellKind::Boolean: return Variant(integer != 0);
    case CellKind::Integer: return Variant(static_cast<int16_t>(integer));
    case CellKind::Long: return Variant(static_cast<int32_t>(integer));
    case CellKind::LongLong: return Variant(integer);
    case CellKind::Double: return Variant(real);
    case CellKind::Date: return Variant(Date{real});
    case CellKind::Text: return Variant(text);
    case CellKind::Bytes: return bytesToArray(text);
    case CellKind::Other: return *other;
  }
  return Variant();
}

RowTable::RowTable(int columns) : columns_(std::max(columns, 0)) {}

void RowTable::growFirstBlock(int64_t rows) {
  const auto wanted = static_cast<int64_t>(std::bit_ceil(static_cast<uint64_t>(rows)));
  const int64_t capacity = std::min(kBlockRows, std::max(kFirstCapacity, wanted));
  Block grown{std::make_unique_for_overwrite<CellKind[]>(capacity * columns_),
              std::make_unique_for_overwrite<uint64_t[]>(capacity * columns_), capacity};
  if (!blocks_.empty()) {
    const Block& old = blocks_[0];
    for (int c = 0; c < columns_; ++c) {
      std::memcpy(&grown.kinds[c * capacity], &old.kinds[c * old.capacity], rows_ * sizeof(CellKind));
      std::memcpy(&grown.payload[c * capacity], &old.payload[c * old.capacity], rows_ * sizeof(uint64_t));
    }
    blocks_[0] = std::move(grown);
  } else {
    blocks_.push_back(std::move(grown));
  }
}

int64_t RowTable::appendRow() {
  const int64_t row = rows_;
  const size_t block = static_cast<size_t>(row >> kBlockShift);
  if (block == 0 && (blocks_.empty() || row >= blocks_[0].capacity)) {
    growFirstBlock(row + 1);
  } else if (block >= blocks_.size()) {
    Block full{std::make_unique_for_overwrite<CellKind[]>(kBlockRows * columns_),
               std::make_unique_for_overwrite<uint64_t[]>(kBlockRows * columns_), kBlockRows};
    prefault(full.kinds.get(), kBlockRows * columns_ * sizeof(CellKind));
    prefault(full.payload.get(), kBlockRows * columns_ * sizeof(uint64_t));
    blocks_.push_back(std::move(full));
  }
  ++rows_;
  for (int c = 0; c < columns_; ++c) setNull(row, c);
  return row;
}

void RowTable::clear() {
  rows_ = 0;
  if (blocks_.size() > 1) blocks_.resize(1);
  strings_.clear();
  others_.clear();
}

CellView RowTable::cell(int64_t row, int column) const {
  const Block& b = blocks_[static_cast<size_t>(row >> kBlockShift)];
  const size_t at = slot(b, row, column);
  const uint64_t bits = b.payload[at];
  CellView v;
  v.kind = b.kinds[at];
  switch (v.kind) {
    case CellKind::Boolean:
    case CellKind::Integer:
    case CellKind::Long:
    case CellKind::LongLong: v.integer = static_cast<int64_t>(bits); break;
    case CellKind::Double:
    case CellKind::Date: v.real = doubleOf(bits); break;
    case CellKind::Text:
    case CellKind::Bytes: v.text = strings_.get(bits); break;
    case CellKind::Other: v.other = &others_[bits]; break;
    default: break;
  }
  return v;
}

void RowTable::put(int64_t row, int column, CellKind kind, uint64_t payload) {
  Block& b = blocks_[static_cast<size_t>(row >> kBlockShift)];
  const size_t at = slot(b, row, column);
  b.kinds[at] = kind;
  b.payload[at] = payload;
}

void RowTable::setInteger(int64_t row, int column, int16_t i) {
  put(row, column, CellKind::Integer, static_cast<uint64_t>(int64_t{i}));
}
void RowTable::setLong(int64_t row, int column, int32_t l) {
  put(row, column, CellKind::Long, static_cast<uint64_t>(int64_t{l}));
}
void RowTable::setLongLong(int64_t row, int column, int64_t ll) {
  put(row, column, CellKind::LongLong, static_cast<uint64_t>(ll));
}
void RowTable::setWholeNumber(int64_t row, int column, int64_t n) {
  if (n >= INT32_MIN && n <= INT32_MAX)
    setLong(row, column, static_cast<int32_t>(n));
  else
    setLongLong(row, column, n);
}
void RowTable::setDouble(int64_t row, int column, double d) { put(row, column, CellKind::Double, bitsOf(d)); }
void RowTable::setDate(int64_t row, int column, Date d) { put(row, column, CellKind::Date, bitsOf(d.serial)); }
void RowTable::setText(int64_t row, int column, std::string_view text) {
  put(row, column, CellKind::Text, strings_.add(text));
}
void RowTable::setBytes(int64_t row, int column, std::string_view bytes) {
  put(row, column, CellKind::Bytes, strings_.add(bytes));
}

void RowTable::set(int64_t row, int column, const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: put(row, column, CellKind::Empty, 0); return;
    case VarType::Null: setNull(row, column); return;
    case VarType::Boolean: setBool(row, column, v.asBool()); return;
    case VarType::Integer: setInteger(row, column, v.asInteger()); return;
    case VarType::Long: setLong(row, column, v.asLong()); return;
    case VarType::LongLong: setLongLong(row, column, v.asLongLong()); return;
    case VarType::Double: setDouble(row, column, v.asDouble()); return;
    case VarType::Date: setDate(row, column, v.asDate()); return;
    case VarType::String: setText(row, column, v.asString()); return;
    default:
      others_.push_back(v);
      put(row, column, CellKind::Other, others_.size() - 1);
  }
}

void RowTable::setCell(int64_t row, int column, const CellView& c) {
  switch (c.kind) {
    case CellKind::Double:
    case CellKind::Date: put(row, column, c.kind, bitsOf(c.real)); return;
    case CellKind::Text: setText(row, column, c.text); return;
    case CellKind::Bytes: setBytes(row, column, c.text); return;
    case CellKind::Other: set(row, column, *c.other); return;
    default: put(row, column, c.kind, static_cast<uint64_t>(c.integer));
  }
}

void RowTable::copyRow(const RowTable& from, int64_t fromRow, int64_t toRow) {
  const int n = std::min(columns_, from.columns_);
  for (int c = 0; c < n; ++c) setCell(toRow, c, from.cell(fromRow, c));
}

std::shared_ptr<RowTable> RowTable::copyRange(int64_t first, int64_t count) const {
  auto copy = std::make_shared<RowTable>(columns_);
  for (int64_t r = first; r < first + count; ++r) copy->copyRow(*this, r, copy->appendRow());
  return copy;
}

}  // namespace quelo
