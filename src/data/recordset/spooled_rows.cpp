#include "data/recordset/spooled_rows.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "data/recordset/ado.h"
#include "platform/read_watch.h"
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
  // A fill still running is stopped between two rows (a source that reads through a watch
  // stops inside a long wait too) and waited for.
  ~SpooledStream() override {
    if (!filler_.joinable()) return;
    watch_.stop();
    filler_.join();
  }

  // Reads `rows` to their end into the spool, here and now.
  Status fill(RowStream& rows) {
    Status s = spool(rows);
    finish(s);
    return s;
  }

  // Reads `rows` into the spool on a thread of its own; the rows are handed out as they are
  // spooled. The source is closed as soon as its last row is in.
  void fillBehind(std::unique_ptr<RowStream> rows) {
    behind_ = true;
    filler_ = std::thread([this, rows = std::move(rows)]() mutable {
      ReadWatchScope scope(watch_);
      Status s = spool(*rows);
      rows.reset();
      finish(s);
    });
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }

  // -1 when the source failed: reading the run then gives its error.
  int64_t count() const override {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
    return error_ ? spooled_ : -1;
  }

  std::optional<int64_t> countIfKnown() const override {
    std::lock_guard<std::mutex> lock(mutex_);
    return done_ && error_ ? std::optional<int64_t>(spooled_) : std::nullopt;
  }

  Result<int64_t> rowsAtLeast(int64_t wanted) override {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return spooled_ >= wanted || done_; });
    if (!error_) return error_.error();
    known_ = spooled_;
    limit_ = spooledBytes_;
    return std::min(wanted, spooled_);
  }

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
    if (given_ == known_) {
      auto held = rowsAtLeast(given_ + 1);
      if (!held) return held.error();
      if (held.value() == given_) return false;
    }
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
  // Every row of `rows` into the file; while it is read behind, the rows are made readable
  // a buffer's worth at a time.
  Status spool(RowStream& rows) {
    const int columns = static_cast<int>(fields_.size());
    std::string row;
    int64_t count = 0, bytes = 0, published = 0;
    for (;;) {
      if (watch_.stopped()) return readStopped();
      auto more = rows.next();
      if (!more) return more.error();
      if (!more.value()) break;
      row.assign(sizeof(uint32_t), '\0');  // the length, once known
      for (int c = 0; c < columns; ++c) encode(row, rows.cell(c));
      const auto length = static_cast<uint32_t>(row.size() - sizeof(uint32_t));
      std::memcpy(row.data(), &length, sizeof length);
      if (Status s = file_->append(row); !s) return s;
      ++count;
      bytes += static_cast<int64_t>(row.size());
      if (behind_ && bytes - published >= static_cast<int64_t>(kChunk)) {
        if (Status s = publish(count, bytes); !s) return s;
        published = bytes;
      }
    }
    return publish(count, bytes);
  }

  // The rows spooled so far become readable.
  Status publish(int64_t count, int64_t bytes) {
    if (Status s = file_->flush(); !s) return s;
    std::lock_guard<std::mutex> lock(mutex_);
    spooled_ = count;
    spooledBytes_ = bytes;
    changed_.notify_all();
    return Status::ok();
  }

  void finish(const Status& s) {
    std::lock_guard<std::mutex> lock(mutex_);
    error_ = s;
    done_ = true;
    changed_.notify_all();
  }

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
      case CellKind::Other: {
        std::lock_guard<std::mutex> lock(mutex_);
        put(out, static_cast<uint64_t>(others_.size()));
        others_.push_back(*cell.other);
        return;
      }
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
      case CellKind::Other: {
        std::lock_guard<std::mutex> lock(mutex_);
        cell.other = &others_[take<uint64_t>(at)];
        break;
      }
    }
    return cell;
  }

  // The spool's next bytes, through a buffer of its own; only bytes made readable are read.
  Status readExactly(char* into, size_t size) {
    while (size > 0) {
      if (at_ == buffered_.size()) {
        const auto wanted = static_cast<size_t>(std::min<int64_t>(kChunk, limit_ - readAt_));
        buffered_.resize(wanted);
        auto n = wanted == 0
                     ? Result<size_t>(size_t{0})
                     : file_->readAt(static_cast<uint64_t>(readAt_), buffered_.data(), wanted);
        if (!n) return n.error();
        if (n.value() == 0) return ado::dataSourceError("the spooled rows ended early");
        buffered_.resize(n.value());
        readAt_ += static_cast<int64_t>(n.value());
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
  std::vector<CellView> cells_;  // the row handed out, viewing buffered_ or row_
  std::string row_;
  std::string buffered_;
  size_t at_ = 0;
  int64_t readAt_ = 0;  // in the file, where buffered_ ends
  int64_t given_ = 0;   // rows handed out
  int64_t known_ = 0;   // rows known to be readable, and their bytes
  int64_t limit_ = 0;

  // Shared with the filling thread.
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::deque<Variant> others_;  // objects and arrays, rare in a table, are kept in memory
  int64_t spooled_ = 0, spooledBytes_ = 0;  // readable so far; all of them once done
  bool done_ = false;
  Status error_ = Status::ok();
  bool behind_ = false;  // filled on a thread of its own
  ReadWatch watch_;      // stops the filling thread
  std::thread filler_;
};

}  // namespace

Result<std::unique_ptr<CountedRowStream>> spoolRows(std::unique_ptr<RowStream> rows) {
  auto file = ScratchFile::create();
  if (!file) return file.error();
  auto spooled = std::make_unique<SpooledStream>(rows->fields(), std::move(file).value());
  if (Status s = spooled->fill(*rows); !s) return s.error();
  return std::unique_ptr<CountedRowStream>(std::move(spooled));
}

Result<std::unique_ptr<CountedRowStream>> spoolRowsBehind(std::unique_ptr<RowStream> rows) {
  auto file = ScratchFile::create();
  if (!file) return file.error();
  auto spooled = std::make_unique<SpooledStream>(rows->fields(), std::move(file).value());
  spooled->fillBehind(std::move(rows));
  return std::unique_ptr<CountedRowStream>(std::move(spooled));
}

}  // namespace quelo
