#include "data/host_rows.h"

#include <exception>

#include "data/public_value.h"
#include "data/recordset/ado.h"
#include "data/recordset/spooled_rows.h"

namespace varnikquelo {

RecordCursor::~RecordCursor() = default;
RecordSource::~RecordSource() = default;

}  // namespace varnikquelo

namespace quelo {
namespace {

using varnikquelo::FieldType;

constexpr const char* kDescription = "host:records";
constexpr int32_t kTextSize = 255;

FieldInfo fieldInfo(const varnikquelo::Field& field) {
  int32_t type = ado::adVarWChar;
  switch (field.type) {
    case FieldType::Boolean: type = ado::adBoolean; break;
    case FieldType::Int32: type = ado::adInteger; break;
    case FieldType::Int64: type = ado::adBigInt; break;
    case FieldType::Double: type = ado::adDouble; break;
    case FieldType::Date: type = ado::adDBTimeStamp; break;
    case FieldType::Text: break;
    case FieldType::LongText: type = ado::adLongVarWChar; break;
  }
  const int32_t size = type == ado::adVarWChar ? kTextSize : ado::defaultDefinedSize(type);
  return FieldInfo{field.name, type, size, ado::sourceAttributes(type)};
}

Error hostError(const std::string& what) { return ado::dataSourceError(std::string(kDescription) + ": " + what); }

// Runs `work`, turning what the host throws into the error it names.
template <class Work>
auto guarded(Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::exception& e) {
    return hostError(e.what());
  } catch (...) {
    return hostError("the host's records threw an exception");
  }
}

// One pass of the host's records. Its count, when the host gives one, is kept to: a pass that
// gives more or fewer records fails rather than making a report of other records than counted.
class HostStream : public CountedRowStream {
 public:
  HostStream(std::shared_ptr<const varnikquelo::RecordSource> source, std::vector<FieldInfo> fields,
             std::unique_ptr<varnikquelo::RecordCursor> cursor)
      : source_(std::move(source)), fields_(std::move(fields)), cursor_(std::move(cursor)), count_(cursor_->count()) {}

  const std::vector<FieldInfo>& fields() const override { return fields_; }
  int64_t count() const override { return count_; }

  Result<bool> readRow(RowTable& table) override {
    row_.clear();
    auto more = guarded([&]() -> Result<bool> { return cursor_->next(row_); });
    if (!more) return more;
    const std::string which = "record " + std::to_string(read_ + 1);
    if (!more.value()) {
      if (count_ >= 0 && read_ != count_)
        return hostError("gave " + std::to_string(read_) + " records of the " + std::to_string(count_) + " it counted");
      return false;
    }
    if (count_ >= 0 && read_ == count_) return hostError("gave more records than the " + std::to_string(count_) + " it counted");
    if (row_.size() != fields_.size())
      return hostError(which + " has " + std::to_string(row_.size()) + " values for " + std::to_string(fields_.size()) + " fields");
    std::vector<Variant> cells;
    for (size_t c = 0; c < row_.size(); ++c) {
      auto cell = variantOf(row_[c]);
      if (!cell) return hostError(which + ", field " + fields_[c].name + ": " + cell.error().message);
      cells.push_back(std::move(cell).value());
    }
    const int64_t r = table.appendRow();
    for (size_t c = 0; c < cells.size(); ++c) table.set(r, static_cast<int>(c), cells[c]);
    ++read_;
    return true;
  }

 private:
  std::shared_ptr<const varnikquelo::RecordSource> source_;  // a pass may outlive the record set's source
  std::vector<FieldInfo> fields_;
  std::unique_ptr<varnikquelo::RecordCursor> cursor_;
  int64_t count_;
  int64_t read_ = 0;
  std::vector<varnikquelo::Value> row_;
};

class HostRowSource : public RowSource {
 public:
  explicit HostRowSource(std::shared_ptr<const varnikquelo::RecordSource> source) : source_(std::move(source)) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    auto stream = start();
    if (!stream) return stream.error();
    return std::unique_ptr<RowStream>(std::move(stream).value());
  }

  Result<std::unique_ptr<CountedRowStream>> runCounted() const override {
    auto stream = start();
    if (!stream || stream.value()->count() >= 0) return stream;
    return spoolRows(std::move(stream).value());
  }

  // The host's records are read on the host's thread only.
  Result<std::unique_ptr<CountedRowStream>> runCountedWhileRead() const override { return runCounted(); }
  std::string description() const override { return kDescription; }

 private:
  Result<std::unique_ptr<CountedRowStream>> start() const {
    return guarded([&]() -> Result<std::unique_ptr<CountedRowStream>> {
      std::vector<FieldInfo> fields;
      for (const varnikquelo::Field& f : source_->fields()) fields.push_back(fieldInfo(f));
      auto cursor = source_->read();
      if (!cursor) return hostError("no pass over the records");
      return std::unique_ptr<CountedRowStream>(new HostStream(source_, std::move(fields), std::move(cursor)));
    });
  }

  std::shared_ptr<const varnikquelo::RecordSource> source_;
};

}  // namespace

std::shared_ptr<RowSource> hostRows(std::shared_ptr<const varnikquelo::RecordSource> source) {
  return std::make_shared<HostRowSource>(std::move(source));
}

}  // namespace quelo
