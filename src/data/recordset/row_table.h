// RowTable: the cells of a record set's rows, kept compactly for millions of rows. Each cell is
// a one-byte kind and eight bytes of payload, stored column by column in blocks of 4,096 rows;
// texts live in a StringArena; only objects and arrays (rare in a table) are kept as Variants.
// A cell holds whatever value was written to it: the field's type code describes the column,
// the cell keeps the value exactly.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/recordset/string_arena.h"
#include "automation/variant.h"

namespace quelo {

enum class CellKind : uint8_t { Empty, Null, Boolean, Integer, Long, LongLong, Double, Date, Text, Bytes, Other };

// A cell read without copying it; text and bytes point into the table (valid until it changes).
struct CellView {
  CellKind kind = CellKind::Empty;
  int64_t integer = 0;   // Boolean (0 or 1), Integer, Long, LongLong
  double real = 0;       // Double, Date
  std::string_view text;  // Text, Bytes
  const Variant* other = nullptr;

  bool isNull() const { return kind == CellKind::Null; }
  // Bytes become a one-dimensional array of Integers from 0 to 255.
  Variant toVariant() const;
};

class RowTable {
 public:
  explicit RowTable(int columns);

  int columns() const { return columns_; }
  int64_t rows() const { return rows_; }
  // A new row at the end with every cell Null; returns its index.
  int64_t appendRow();
  // Forgets every row, keeping memory for the next ones.
  void clear();

  // REQUIRES for every accessor below: 0 <= row < rows(), 0 <= column < columns().
  CellView cell(int64_t row, int column) const;
  Variant value(int64_t row, int column) const { return cell(row, column).toVariant(); }

  void setNull(int64_t row, int column) { put(row, column, CellKind::Null, 0); }
  void setBool(int64_t row, int column, bool b) { put(row, column, CellKind::Boolean, b ? 1 : 0); }
  void setInteger(int64_t row, int column, int16_t i);
  void setLong(int64_t row, int column, int32_t l);
  void setLongLong(int64_t row, int column, int64_t ll);
  // The narrowest of Long and LongLong that holds the number.
  void setWholeNumber(int64_t row, int column, int64_t n);
  void setDouble(int64_t row, int column, double d);
  void setDate(int64_t row, int column, Date d);
  void setText(int64_t row, int column, std::string_view text);
  void setBytes(int64_t row, int column, std::string_view bytes);
  void set(int64_t row, int column, const Variant& v);
  void setCell(int64_t row, int column, const CellView& c);

  // Copies every cell of a row of another table with the same columns into a row of this one.
  void copyRow(const RowTable& from, int64_t fromRow, int64_t toRow);
  // A new table holding `count` rows of this one from `first` on.
  std::shared_ptr<RowTable> copyRange(int64_t first, int64_t count) const;

 private:
  static constexpr int kBlockShift = 12;
  static constexpr int64_t kBlockRows = int64_t{1} << kBlockShift;

  struct Block {
    std::unique_ptr<CellKind[]> kinds;
    std::unique_ptr<uint64_t[]> payload;
    int64_t capacity = 0;  // rows; only the first block grows, later ones are full-size
  };
  void put(int64_t row, int column, CellKind kind, uint64_t payload);
  void growFirstBlock(int64_t rows);
  size_t slot(const Block& b, int64_t row, int column) const {
    return static_cast<size_t>(column * b.capacity + (row & (kBlockRows - 1)));
  }

  int columns_;
  int64_t rows_ = 0;
  std::vector<Block> blocks_;
  StringArena strings_;
  std::vector<Variant> others_;
};

}  // namespace quelo
