// Streams the records of a CSV file into record-set rows, with types inferred beforehand.
#include "data/sources/csv_source.h"

#include <algorithm>
#include <cstring>

#include "data/sources/csv_columns.h"
#include "data/sources/csv_reader.h"
#include "data/sources/typed_text.h"
#include "data/recordset/ado.h"
#include "platform/read_watch.h"

namespace quelo {
namespace {

// The names of the first line: an empty one becomes "FieldN" (N its position from 1); a name
// that appears twice (in any letter case) is an error, since fields are found by name.
Result<std::vector<std::string>> fieldNames(const CsvReader& reader) {
  FieldList names;
  for (int i = 0; i < reader.fieldCount(); ++i) {
    std::string name = reader.field(i).text;
    if (name.empty()) name = "Field" + std::to_string(i + 1);
    if (!names.append(name, ado::adVarWChar, 0))
      return reader.errorAt(reader.line(), "the field name \"" + name + "\" appears twice");
  }
  std::vector<std::string> out;
  for (const FieldInfo& f : names.all()) out.push_back(f.name);
  return out;
}

// A file's content read already, read again from its start.
class MemoryInput : public InputFile {
 public:
  explicit MemoryInput(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
  Result<size_t> read(char* buffer, size_t size) override {
    const size_t n = std::min(size, bytes_->size() - pos_);
    std::memcpy(buffer, bytes_->data() + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  std::shared_ptr<const std::string> bytes_;
  size_t pos_ = 0;
};

class CsvStream : public CountedRowStream {
 public:
  explicit CsvStream(const CsvFormat& format) : reader_(format) {}

  // Opens the file and reads the first line. With the column types given, the stream is ready for
  // the rows; without, it reads every record to infer them (and to find any malformed line).
  // `spooled`, when given, is the file's content, read already.
  Status start(FileSystem& files, const std::string& path, const std::vector<FieldInfo>* types,
               const std::shared_ptr<const std::string>& spooled) {
    Status opened = spooled ? reader_.open(std::make_unique<MemoryInput>(spooled), path) : reader_.open(files, path);
    if (!opened) return opened;
    auto header = reader_.next();
    if (!header) return header.error();
    if (!header.value()) return ado::dataSourceError(path + ": the file is empty; its first line must name the fields");
    auto names = fieldNames(reader_);
    if (!names) return names.error();
    columns_ = static_cast<int>(names.value().size());
    if (types) {
      fields_ = *types;
      return Status::ok();
    }
    if (ReadWatch* watch = currentReadWatch()) watch->beginPass(-1);
    std::vector<CsvColumnGuess> guesses(columns_);
    for (;;) {
      auto more = nextRecord();
      if (!more) return more.error();
      if (!more.value()) break;
      ++count_;
      for (int c = 0; c < columns_; ++c) guesses[c].see(reader_.field(c));
    }
    for (int c = 0; c < columns_; ++c) fields_.push_back(guesses[c].field(names.value()[c]));
    return Status::ok();
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }
  // The records the typing pass read: the rows pass reads as many from the same file.
  int64_t count() const override { return count_; }
  void setCount(int64_t count) { count_ = count; }

  Result<bool> readRow(RowTable& table) override {
    auto more = nextRecord();
    if (!more || !more.value()) return more;
    const int64_t r = table.appendRow();
    for (int c = 0; c < columns_; ++c) table.setCell(r, c, cell(c));
    return true;
  }

  // The record read last is the current row; its fields are viewed in the reader.
  Result<bool> next() override { return nextRecord(); }
  CellView cell(int column) const override {
    const CsvField& f = reader_.field(column);
    if (!f.isNull()) return typedCell(fields_[column].type, f.text);
    CellView null;
    null.kind = CellKind::Null;
    return null;
  }

 private:
  // The next record with as many fields as the first line names. An empty line is skipped when
  // there are several fields; with one field it is a record whose value is missing.
  Result<bool> nextRecord() {
    for (;;) {
      auto more = reader_.next();
      if (!more || !more.value()) return more;
      const int n = reader_.fieldCount();
      if (n == 1 && columns_ > 1 && reader_.field(0).isNull()) continue;
      if (n == columns_) return countRow() ? Result<bool>(true) : Result<bool>(readStopped());
      return reader_.errorAt(reader_.line(), std::to_string(n) + (n == 1 ? " field" : " fields") +
                                                 ", but the first line names " + std::to_string(columns_));
    }
  }

  CsvReader reader_;
  int columns_ = 0;
  std::vector<FieldInfo> fields_;
  int64_t count_ = 0;
};

class CsvFile : public RowSource {
 public:
  CsvFile(FileSystem& files, std::string path, CsvFormat format)
      : files_(files), path_(std::move(path)), format_(std::move(format)) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    auto rows = runCounted();
    if (!rows) return rows.error();
    return std::unique_ptr<RowStream>(std::move(rows).value());
  }
  // First pass: the types, the count (and every error in the file); second pass: the rows.
  Result<std::unique_ptr<CountedRowStream>> runCounted() const override {
    const char delimiter = format_.delimiter;
    if (delimiter == '"' || delimiter == '\n' || delimiter == '\r')
      return ado::dataSourceError(path_ + ": a quote or a line break cannot separate the fields of a CSV file");
    if (Status s = spoolOnce(); !s) return s.error();
    CsvStream typing(format_);
    if (Status s = typing.start(files_, path_, nullptr, spooled_); !s) return s.error();
    auto rows = std::make_unique<CsvStream>(format_);
    if (Status s = rows->start(files_, path_, &typing.fields(), spooled_); !s) return s.error();
    rows->setCount(typing.count());
    if (ReadWatch* watch = currentReadWatch()) watch->beginPass(typing.count());
    return std::unique_ptr<CountedRowStream>(std::move(rows));
  }
  // The count comes from the first pass anyway.
  Result<std::unique_ptr<CountedRowStream>> runCountedWhileRead() const override { return runCounted(); }
  std::string description() const override { return "csv:" + path_; }

 private:
  // A pipe, a FIFO or a device gives its bytes once (and reads size 0): they are kept for every
  // pass. An empty regular file is read so too, which costs nothing.
  Status spoolOnce() const {
    if (spooled_) return Status::ok();
    auto info = files_.stat(path_);
    // A missing file is named by the reader, which opens it next.
    if (!info && info.error().number != err::kFileNotFound) return ado::dataSourceError(info.error().message);
    if (!info || info.value().isDirectory || info.value().size > 0) return Status::ok();
    auto bytes = readWhole();
    if (!bytes && readStopRequested()) return readStopped();
    if (!bytes) return ado::dataSourceError(bytes.error().message);
    spooled_ = std::make_shared<const std::string>(std::move(bytes).value());
    return Status::ok();
  }

  // The file's bytes, read in turns that a stopped read ends (a pipe may never end).
  Result<std::string> readWhole() const {
    auto input = files_.openForReading(path_);
    if (!input) return input.error();
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
      auto n = input.value()->read(buffer, sizeof buffer);
      if (!n) return n.error();
      if (n.value() == 0) return bytes;
      bytes.append(buffer, n.value());
    }
  }

  FileSystem& files_;
  std::string path_;
  CsvFormat format_;
  mutable std::shared_ptr<const std::string> spooled_;
};

}  // namespace

std::shared_ptr<RowSource> csvFile(FileSystem& files, std::string path, CsvFormat format) {
  return std::make_shared<CsvFile>(files, std::move(path), std::move(format));
}

}  // namespace quelo
