#include "data/recordset/recordset.h"

#include "automation/member_dispatch.h"

namespace quelo {

// Built in recordset_members.cpp.
std::unique_ptr<MemberDispatch> bindRecordsetMembers(Recordset& recordset);

std::shared_ptr<Recordset> Recordset::create() { return std::make_shared<Recordset>(PassKey{}); }

Recordset::Recordset(PassKey) : fields_(std::make_shared<FieldList>()) {}
Recordset::~Recordset() = default;

Result<std::shared_ptr<Recordset>> Recordset::open(std::shared_ptr<const RowSource> source,
                                                   int32_t cursorType, int32_t lockType) {
  auto rs = create();
  if (!source) return ado::error(ado::kErrArguments);
  rs->source_ = std::move(source);
  rs->connection_ = rs->source_->description();
  rs->cursorType_ = cursorType == ado::adOpenForwardOnly ? ado::adOpenForwardOnly : ado::adOpenStatic;
  rs->lockType_ = rs->cursorType_ == ado::adOpenForwardOnly ? ado::adLockReadOnly : lockType;
  if (Status s = rs->load(); !s) return s.error();
  return rs;
}

// Runs the source. Nothing changes until the run has started and, for a static record set, every
// row has been read: a failed Requery leaves the record set as it was.
Status Recordset::load() {
  auto stream = source_->run();
  if (!stream) return stream.error();
  auto fields = std::make_shared<FieldList>();
  for (const FieldInfo& f : stream.value()->fields())
    if (Status s = fields->append(f.name, f.type, f.definedSize, f.attributes); !s)
      return ado::dataSourceError(connection_ + ": field \"" + f.name + "\": " + s.error().message);
  std::shared_ptr<RowSet> rows;
  if (cursorType_ != ado::adOpenForwardOnly) {
    auto table = readAll(*stream.value(), fields->count());
    if (!table) return table.error();
    rows = std::make_shared<RowSet>(RowSet{table.value(), 0, table.value()->rows()});
    stream.value().reset();
  }
  fields_ = std::move(fields);
  rows_ = std::move(rows);
  stream_ = std::move(stream).value();
  streamEnd_ = false;
  position_ = 0;
  open_ = true;
  return stream_ ? fetchStreamRow() : Status::ok();
}

Result<std::shared_ptr<RowTable>> Recordset::readAll(RowStream& stream, int columns) {
  auto table = std::make_shared<RowTable>(columns);
  for (;;) {
    auto more = stream.readRow(*table);
    if (!more) return more.error();
    if (!more.value()) return table;
  }
}

Status Recordset::fetchStreamRow() {
  auto more = stream_->next();
  if (more && more.value()) return Status::ok();
  streamEnd_ = true;
  return more.status();
}

Status Recordset::appendField(std::string name, int32_t type, int32_t definedSize,
                              std::optional<int32_t> attributes) {
  if (open_) return ado::error(ado::kErrOpen);
  if (fields_.use_count() > 1) fields_ = std::make_shared<FieldList>(*fields_);
  return fields_->append(std::move(name), type, definedSize, attributes);
}

Result<int> Recordset::fieldIndex(std::string_view name) const {
  if (auto i = fields_->indexOf(name)) return *i;
  return ado::error(ado::kErrItemNotFound);
}

Status Recordset::setCursorType(int32_t type) {
  if (open_) return ado::error(ado::kErrOpen);
  if (type < ado::adOpenUnspecified || type > ado::adOpenStatic) return ado::error(ado::kErrArguments);
  cursorType_ = type;
  return Status::ok();
}

Status Recordset::setLockType(int32_t type) {
  if (open_) return ado::error(ado::kErrOpen);
  if (type < ado::adLockUnspecified || type > ado::adLockBatchOptimistic) return ado::error(ado::kErrArguments);
  lockType_ = type;
  return Status::ok();
}

Status Recordset::open() {
  if (open_) return ado::error(ado::kErrOpen);
  if (fields_->count() == 0) return makeError(ado::kErrArguments, "A record set needs at least one field to be opened.");
  auto table = std::make_shared<RowTable>(fields_->count());
  rows_ = std::make_shared<RowSet>(RowSet{std::move(table), 0, 0});
  cursorType_ = ado::adOpenStatic;
  source_.reset();
  connection_.clear();
  position_ = 0;
  open_ = true;
  return Status::ok();
}

Status Recordset::close() {
  if (!open_) return ado::error(ado::kErrClosed);
  if (editing()) return ado::error(ado::kErrNotAllowed);
  rows_.reset();
  stream_.reset();
  pending_.reset();
  open_ = false;
  return Status::ok();
}

Status Recordset::checkOpen() const { return open_ ? Status::ok() : Status(ado::error(ado::kErrClosed)); }

Result<std::shared_ptr<Recordset>> Recordset::clone() {
  if (Status s = checkOpen(); !s) return s.error();
  if (forwardOnly()) return ado::notSupported("bookmarks");
  auto copy = create();
  copy->fields_ = fields_;
  copy->rows_ = rows_;
  copy->source_ = source_;
  copy->connection_ = connection_;
  copy->cursorType_ = cursorType_;
  copy->lockType_ = lockType_;
  copy->open_ = true;
  return copy;
}

Result<std::shared_ptr<Recordset>> Recordset::rowRange(int64_t first, int64_t count) const {
  if (Status s = checkOpen(); !s) return s.error();
  if (forwardOnly()) return ado::notSupported("bookmarks");
  if (first < 0 || count < 0 || first > rows_->count || count > rows_->count - first)
    return ado::error(ado::kErrArguments);
  auto page = create();
  page->fields_ = fields_;
  page->rows_ = std::make_shared<RowSet>(RowSet{rows_->table, rows_->begin + first, count});
  page->cursorType_ = ado::adOpenStatic;
  page->lockType_ = ado::adLockOptimistic;
  page->open_ = true;
  return page;
}

std::optional<int64_t> Recordset::countedRecords() const {
  if (!onCountedRun()) return std::nullopt;
  const int64_t count = dynamic_cast<const CountedRowStream&>(*stream_).count();
  return count >= 0 ? std::optional<int64_t>(count) : std::nullopt;
}

bool Recordset::onCountedRun() const {
  return open_ && position_ == 0 && dynamic_cast<const CountedRowStream*>(stream_.get());
}

std::optional<Result<int64_t>> Recordset::runRecordsAtLeast(int64_t wanted) {
  auto* counted = dynamic_cast<CountedRowStream*>(stream_.get());
  if (!open_ || !counted) return std::nullopt;
  return counted->rowsAtLeast(wanted);
}

std::optional<int64_t> Recordset::runRecordsKnown() const {
  const auto* counted = dynamic_cast<const CountedRowStream*>(stream_.get());
  if (!open_ || !counted) return std::nullopt;
  return counted->countIfKnown();
}

Result<std::shared_ptr<Recordset>> Recordset::takeRecords(int64_t count) {
  if (Status s = checkOpen(); !s) return s.error();
  if (!forwardOnly()) return ado::notSupported("reading ahead");
  const int columns = fields_->count();
  auto table = std::make_shared<RowTable>(columns);
  while (!streamEnd_ && table->rows() < count) {
    const int64_t row = table->appendRow();
    for (int c = 0; c < columns; ++c) table->setCell(row, c, stream_->cell(c));
    ++position_;
    if (Status s = fetchStreamRow(); !s) return s.error();
  }
  auto page = create();
  page->fields_ = fields_;
  page->rows_ = std::make_shared<RowSet>(RowSet{table, 0, table->rows()});
  page->cursorType_ = ado::adOpenStatic;
  page->lockType_ = ado::adLockOptimistic;
  page->open_ = true;
  return page;
}

Status Recordset::requery() {
  if (Status s = checkOpen(); !s) return s;
  if (!source_) return ado::error(ado::kErrNotAllowed);
  if (editing()) return ado::error(ado::kErrNotAllowed);
  return load();
}

MemberDispatch& Recordset::automation() const {
  if (!automation_) automation_ = bindRecordsetMembers(const_cast<Recordset&>(*this));
  return *automation_;
}

Result<int32_t> Recordset::idOfName(std::string_view name) const { return automation().idOfName(name); }

Result<Variant> Recordset::invoke(int32_t dispid, InvokeKind kind, Args& args) {
  return automation().invoke(dispid, kind, args);
}

}  // namespace quelo
