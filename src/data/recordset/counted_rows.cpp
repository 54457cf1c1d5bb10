// The default ways of reading a run: rows in place through readRow, and counted runs spooled
// (at once, or while they are read); a source whose every run is a counted run of another.
#include "data/recordset/row_source.h"
#include "data/recordset/spooled_rows.h"

namespace quelo {

Result<bool> RowStream::next() {
  if (!row_) row_ = std::make_unique<RowTable>(static_cast<int>(fields().size()));
  row_->clear();
  return readRow(*row_);
}

CellView RowStream::cell(int column) const { return row_->cell(0, column); }

Result<std::unique_ptr<CountedRowStream>> RowSource::runCounted() const {
  auto rows = run();
  if (!rows) return rows.error();
  return spoolRows(std::move(rows).value());
}

Result<std::unique_ptr<CountedRowStream>> RowSource::runCountedWhileRead() const {
  auto rows = run();
  if (!rows) return rows.error();
  return spoolRowsBehind(std::move(rows).value());
}

namespace {

class CountedSource : public RowSource {
 public:
  CountedSource(std::shared_ptr<const RowSource> source, Counting counting)
      : source_(std::move(source)), counting_(counting) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    auto stream = runCounted();
    if (!stream) return stream.error();
    return std::unique_ptr<RowStream>(std::move(stream).value());
  }
  Result<std::unique_ptr<CountedRowStream>> runCounted() const override {
    return counting_ == Counting::First ? source_->runCounted() : source_->runCountedWhileRead();
  }
  std::string description() const override { return source_->description(); }

 private:
  std::shared_ptr<const RowSource> source_;
  Counting counting_;
};

}  // namespace

std::shared_ptr<RowSource> countedRows(std::shared_ptr<const RowSource> source, Counting counting) {
  return std::make_shared<CountedSource>(std::move(source), counting);
}

}  // namespace quelo
