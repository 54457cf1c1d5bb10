// The default ways of reading a run: rows in place through readRow, and counted runs spooled;
// a source whose every run is a counted run of another.
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

namespace {

class CountedSource : public RowSource {
 public:
  explicit CountedSource(std::shared_ptr<const RowSource> source) : source_(std::move(source)) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    auto stream = source_->runCounted();
    if (!stream) return stream.error();
    return std::unique_ptr<RowStream>(std::move(stream).value());
  }
  Result<std::unique_ptr<CountedRowStream>> runCounted() const override { return source_->runCounted(); }
  std::string description() const override { return source_->description(); }

 private:
  std::shared_ptr<const RowSource> source_;
};

}  // namespace

std::shared_ptr<RowSource> countedRows(std::shared_ptr<const RowSource> source) {
  return std::make_shared<CountedSource>(std::move(source));
}

}  // namespace quelo
