#include "data/recordset/spooled_rows.h"

#include <cstring>

#include "data/recordset/ado.h"
#include "platform/scratch_file.h"

namespace quelo {
namespace {

// A row is its length (four bytes) and its cells; a cell is its kind (one byte) and its payload:
// eight bytes for a number, a date or a Boolean, a length and the bytes for a text or bytes, an
// index into the rows' few objects for anything else, nothing for Empty and Null.
template <class T>
void put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T take(const char*& at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  at += sizeof value;
  return value;
}

class SpooledStream : public CountedRowStream {
 public:
  SpooledStream(std::vector<FieldInfo> fields, std::unique_ptr<ScratchFile> file)
      : fields_(std::move(fields)), file_(std::move(file)), cells_(fields_.size()) {}

  Status fill(RowStream& rows) {
    const int columns = static_cast<int>(fields_.size());
    std::string row;
    for (;;) {
      auto more = rows.next();
      if (!more) return more.error();
      if (!more.value()) break;
      row.assign(sizeof(uint32_t), '\0');  // the length, once known
      for (int c = 0; c < columns; ++c) encode(row, rows.cell(c));
      const auto length = static_cast<uint32_t>(row.size() - sizeof(uint32_t));
      std::memcpy(row.data(), &length, sizeof length);
      if (Status s = file_->append(row); !s) return s;
      ++count_;
    }
    return file_->rewind();
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }
  int64_t count() const override { return count_; }

  Result<bool> readRow(RowTable& table) override {
    auto more = next();
    if (!more || !more.value()) return more;
    const int64_t r = table.appendRow();
    for (int c = 0; c < static_cast<int>(cells_.size()); ++c)
      table.setCell(r, c, cells_[static_cast<size_t>(c)]);
    return true;
  }

  // A row wholly in the buffer is read where it is; one that runs past it is put together first.
  Result<bool> next() override {
    if (given_ == count_) return false;
    uint32_t length = 0;
    if (Status s = readExactly(reinterpret_cast<char*>(&length), sizeof length); !s)
      return s.error();
    const char* at = buffered_.data() + at_;
    if (buffered_.size() - at_ >= length) {
      at_ += length;
    } else {
      row_.resize(length);
      if (Status s = readExactly(row_.data(), length); !s) return s.error();
      at = row_.data();
    }
    for (CellView& cell : cells_) cell = decode(at);
    ++given_;
    return true;
  }

  CellView cell(int column) const override { return cells_[static_cast<size_t>(column)]; }

 private:
  void encode(std::string& out, const CellView& cell) {
    out.push_back(static_cast<char>(cell.kind));
    switch (cell.kind) {
      case CellKind::Empty:
      case CellKind::Null:
        return;
      case CellKind::Boolean:
      case CellKind::Integer:
      case CellKind::Long:
      case CellKind::LongLong:
        return put(out, cell.integer);
      case CellKind::Double:
      case CellKind::Date:
        return put(out, cell.real);
      case CellKind::Text:
      case CellKind::Bytes:
        put(out, static_cast<uint64_t>(cell.text.size()));
        out.append(cell.text);
        return;
      case CellKind::Other:
        put(out, static_cast<uint64_t>(others_.size()));
        others_.push_back(*cell.other);
        return;
    }
  }

  CellView decode(const char*& at) const {
    CellView cell;
    cell.kind = static_cast<CellKind>(*at++);
    switch (cell.kind) {
      case CellKind::Empty:
      case CellKind::Null:
        break;
      case CellKind::Boolean:
      case CellKind::Integer:
      case CellKind::Long:
      case CellKind::LongLong:
        cell.integer = take<int64_t>(at);
        break;
      case CellKind::Double:
      case CellKind::Date:
        cell.real = take<double>(at);
        break;
      case CellKind::Text:
      case CellKind::Bytes: {
        const auto size = take<uint64_t>(at);
        cell.text = std::string_view(at, size);
        at += size;
        break;
      }
      case CellKind::Other:
        cell.other = &others_[take<uint64_t>(at)];
        break;
    }
    return cell;
  }

  // The spool's next bytes, through a buffer of its own.
  Status readExactly(char* into, size_t size) {
    while (size > 0) {
      if (at_ == buffered_.size()) {
        buffered_.resize(kChunk);
        auto n = file_->read(buffered_.data(), kChunk);
        if (!n) return n.error();
        if (n.value() == 0) return ado::dataSourceError("the spooled rows ended early");
        buffered_.resize(n.value());
        at_ = 0;
      }
      const size_t part = std::min(size, buffered_.size() - at_);
      std::memcpy(into, buffered_.data() + at_, part);
      at_ += part;
      into += part;
      size -= part;
    }
    return Status::ok();
  }

  static constexpr size_t kChunk = 1 << 16;
  std::vector<FieldInfo> fields_;
  std::unique_ptr<ScratchFile> file_;
  std::vector<Variant> others_;  // objects and arrays, rare in a table, are kept in memory
  std::vector<CellView> cells_;  // the row handed out, viewing buffered_ or row_
  std::string row_;
  std::string buffered_;
  size_t at_ = 0;
  int64_t count_ = 0, given_ = 0;
};

}  // namespace

Result<std::unique_ptr<CountedRowStream>> spoolRows(std::unique_ptr<RowStream> rows) {
  auto file = ScratchFile::create();
  if (!file) return file.error();
  auto spooled = std::make_unique<SpooledStream>(rows->fields(), std::move(file).value());
  if (Status s = spooled->fill(*rows); !s) return s.error();
  return std::unique_ptr<CountedRowStream>(std::move(spooled));
}

}  // namespace quelo
