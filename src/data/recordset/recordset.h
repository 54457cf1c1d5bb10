// Recordset: the in-memory record set through which the reporter reads a host's data and builds
// its page and section record sets, with the ADO operations and codes that hosts know: fields
// with type codes and attribute bits, a current record, bookmarks, cursor types, GetRows, Clone,
// AddNew / Update, Close, Requery. It is also a Dispatch, so a host can hand it over as an
// object and scripts reach the same operations by name.
//
// Rows are kept in a shared RowTable. A clone shares the rows and has its own current record; a
// row range (a page) is a view over the same rows that copies them only when it is written to,
// so nothing observable differs from a record set that was copied record by record. A
// forward-only record set over a RowSource holds only its current row.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "data/recordset/ado.h"
#include "data/recordset/field_list.h"
#include "data/recordset/row_source.h"
#include "data/recordset/row_table.h"

namespace quelo {

class MemberDispatch;

class Recordset : public Dispatch, public std::enable_shared_from_this<Recordset> {
  struct PassKey {};

 public:
  // A closed record set without fields, forward-only and read-only as a new ADO record set is:
  // append fields, set the cursor and lock types, then open() it.
  static std::shared_ptr<Recordset> create();
  // A record set over a source. A static one reads every row now: an error anywhere fails the
  // whole open, never giving a shortened record set. A forward-only one streams.
  static Result<std::shared_ptr<Recordset>> open(std::shared_ptr<const RowSource> source,
                                                 int32_t cursorType = ado::adOpenStatic,
                                                 int32_t lockType = ado::adLockReadOnly);

  explicit Recordset(PassKey);
  ~Recordset() override;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Fields. Appending is allowed while the record set is closed.
  const FieldList& fields() const { return *fields_; }
  Status appendField(std::string name, int32_t type, int32_t definedSize,
                     std::optional<int32_t> attributes = std::nullopt);
  // Case-insensitive; error 3265 when there is no such field.
  Result<int> fieldIndex(std::string_view name) const;

  // Cursor and lock types can be set while closed. An in-memory record set opened without a
  // source is always static: its rows can be visited in any order.
  int32_t cursorType() const { return cursorType_; }
  Status setCursorType(int32_t type);
  int32_t lockType() const { return lockType_; }
  Status setLockType(int32_t type);

  bool isOpen() const { return open_; }
  // Opens an empty in-memory record set with the appended fields (at least one).
  Status open();
  // Releases the rows. Refused while an AddNew or an edit is pending (Update or CancelUpdate it).
  Status close();

  // The current record. EOF is true after the last record and on an empty record set, BOF
  // before the first; a move that leaves the pending AddNew or edit saves it first.
  bool eof() const;
  bool bof() const;
  Status moveFirst();
  Status moveLast();
  Status moveNext();
  Status movePrevious();
  Status move(int64_t records);
  // The number of records; -1 for a forward-only record set, which cannot know it.
  Result<int64_t> recordCount() const;
  // The current record's bookmark (a Double, shared with clones); errors without a current
  // record or on a forward-only record set.
  Result<Variant> bookmark() const;
  Status setBookmark(const Variant& bookmark);

  // Values of the current record (of the pending record during AddNew or an edit). A field out
  // of range is error 3265, no current record error 3021. A CellView's text stays valid until
  // the record set's rows change.
  Result<CellView> cell(int field) const;
  // cell() without its checks, for a reader that reads every cell of many records.
  // REQUIRES: open, on a record (or editing one), 0 <= field < fields().count().
  CellView currentCell(int field) const;
  Result<Variant> value(int field) const;
  Result<Variant> value(std::string_view name) const;
  // Writes a value; outside AddNew it starts an edit of the current record. The value is kept
  // as written: the field's type code describes the column, not each value.
  Status setValue(int field, const Variant& value);
  Status addNew();
  Status update();
  Status cancelUpdate();
  bool editing() const { return edit_ != Edit::None; }
  // AddNew, every value of the source's current record by position, Update, in one step and
  // without copying values through Variants.
  Status appendRecordFrom(const Recordset& source);

  // The remaining records from the current one on (at most `rows` of them, or all with
  // adGetRowsRest) as a (field, row) array with lower bounds 0; the current record moves past
  // them.
  Result<std::shared_ptr<VariantArray>> getRows(int64_t rows = ado::adGetRowsRest);
  // An independent cursor over the same records, on the first record; edits and appended
  // records are seen by both.
  Result<std::shared_ptr<Recordset>> clone();
  // A static, writable record set of `count` records from record `first` (0-based) on, with the
  // same fields: a page of this record set, sharing its rows until either side is written.
  Result<std::shared_ptr<Recordset>> rowRange(int64_t first, int64_t count) const;

  // A forward-only record set over a counted run (see countedRows): the records of the run, when
  // it is still on the first of them. None otherwise.
  std::optional<int64_t> countedRecords() const;
  // Whether it is a forward-only record set over a counted run, still on the first record.
  bool onCountedRun() const;
  // A forward-only record set over a counted run: the records of the whole run, from its first,
  // once it is known to hold `wanted` of them or all are known (see CountedRowStream::rowsAtLeast).
  // None for any other record set.
  std::optional<Result<int64_t>> runRecordsAtLeast(int64_t wanted);
  // The same without waiting: the records of the whole run, once all are known.
  std::optional<int64_t> runRecordsKnown() const;
  // Forward-only: the current record and those after it, at most `count` in all, as a static
  // record set with the same fields; the current record moves past them. The records are read
  // in place from the source's run, each copied once.
  Result<std::shared_ptr<Recordset>> takeRecords(int64_t count);
  const std::shared_ptr<const RowSource>& rowSource() const { return source_; }

  // Whether the record set came from a source that it can be read from again.
  bool hasActiveConnection() const { return source_ != nullptr; }
  const std::string& connectionDescription() const { return connection_; }
  // Runs the source again and moves to the first record; clones keep the rows they had.
  Status requery();

  Result<int32_t> idOfName(std::string_view name) const override;
  using Dispatch::invoke;
  Result<Variant> invoke(int32_t dispid, InvokeKind kind, Args& args) override;

 private:
  // A range of a shared table: the records of one record set and its clones.
  struct RowSet {
    std::shared_ptr<RowTable> table;
    int64_t begin = 0;
    int64_t count = 0;
  };
  enum class Edit { None, Adding, Changing };

  Status load();
  static Result<std::shared_ptr<RowTable>> readAll(RowStream& stream, int columns);
  Status fetchStreamRow();
  Status checkOpen() const;
  Status checkWritable() const;
  Status finishEdit();
  Status startPending(Edit mode);
  RowTable& writableTable();
  bool forwardOnly() const { return stream_ != nullptr; }
  int64_t count() const { return rows_ ? rows_->count : 0; }
  Status moveTo(int64_t position);
  MemberDispatch& automation() const;

  std::shared_ptr<FieldList> fields_;
  std::shared_ptr<RowSet> rows_;             // static records (shared with clones)
  std::unique_ptr<RowStream> stream_;        // forward-only records, the current one read in place
  bool streamEnd_ = false;
  std::shared_ptr<const RowSource> source_;
  std::string connection_;
  int64_t position_ = 0;  // -1 before the first record, count() after the last
  Edit edit_ = Edit::None;
  std::unique_ptr<RowTable> pending_;  // the one row of an AddNew or edit
  int32_t cursorType_ = ado::adOpenForwardOnly;
  int32_t lockType_ = ado::adLockReadOnly;
  bool open_ = false;
  mutable std::unique_ptr<MemberDispatch> automation_;
};

}  // namespace quelo
