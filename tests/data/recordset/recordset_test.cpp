// Record sets in memory, read from a source, shared by clones and pages, and reached by name as
// a host script or the reporter reaches them; and the row table that holds their values.
#include "data/recordset/recordset.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "data/recordset/row_table.h"
#include "fakes/fake_row_source.h"
#include "fakes/records.h"

namespace quelo {
namespace {

using namespace ado;
using testing::columnOf;
using testing::longs;
using testing::numberedRows;

// An empty in-memory record set as the reporter builds one: fields by name, type and size, a
// static cursor, optimistic locking, opened without a source.
std::shared_ptr<Recordset> inMemory() {
  auto rs = Recordset::create();
  EXPECT_TRUE(rs->appendField("Id", adInteger, 4).isOk());
  EXPECT_TRUE(rs->appendField("Name", adVarWChar, 50).isOk());
  EXPECT_TRUE(rs->appendField("Note", adLongVarWChar, 536870910).isOk());
  EXPECT_TRUE(rs->setCursorType(adOpenStatic).isOk());
  EXPECT_TRUE(rs->setLockType(adLockOptimistic).isOk());
  EXPECT_TRUE(rs->open().isOk());
  return rs;
}

// Writes the current record's field and saves it.
void put(Recordset& rs, int field, Variant v) {
  ASSERT_TRUE(rs.setValue(field, std::move(v)).isOk());
  ASSERT_TRUE(rs.update().isOk());
}
void add(Recordset& rs, int32_t id, const std::string& name) {
  ASSERT_TRUE(rs.addNew().isOk());
  ASSERT_TRUE(rs.setValue(0, Variant(id)).isOk());
  put(rs, 1, Variant(name));
}

std::shared_ptr<Recordset> numbered(int n) {
  auto rs = inMemory();
  for (int i = 1; i <= n; ++i) add(*rs, i, "n" + std::to_string(i));
  return rs;
}

// The current record's Id.
Variant id(Recordset& rs) {
  return rs.value(0).value();
}

TEST(Recordset, AnEmptyRecordSetIsAtItsEndAndItsFieldsAreFixedOnceOpen) {
  auto rs = inMemory();
  EXPECT_TRUE(rs->moveFirst().isOk());
  EXPECT_TRUE(rs->eof() && rs->bof());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_TRUE(rs->moveLast().isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->value(0).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(rs->moveNext().error().number, kErrNoCurrentRecord);
  EXPECT_EQ(rs->appendField("More", adInteger, 4).error().number, kErrOpen);
  auto bare = Recordset::create();  // opening needs fields
  EXPECT_EQ(bare->open().error().number, kErrArguments);
  ASSERT_TRUE(bare->appendField("Id", adInteger, 4).isOk());
  ASSERT_TRUE(bare->open().isOk());
  EXPECT_EQ(bare->addNew().error().number, kErrNotSupported);  // read-only unless told otherwise
}

TEST(Recordset, FieldsKeepOrderAndAttributesAndAreFoundByNameInAnyLetterCase) {
  auto rs = inMemory();
  ASSERT_EQ(rs->fields().count(), 3);
  const FieldInfo& f = rs->fields()[1];
  EXPECT_EQ(std::tie(f.name, f.type, f.definedSize), std::make_tuple("Name", adVarWChar, 50));
  // No long bit on the long text field: not a link field unless carried over.
  EXPECT_EQ(rs->fields()[2].attributes & adFldLong, 0);
  auto copy = Recordset::create();
  ASSERT_TRUE(
      copy->appendField("Имя", adLongVarWChar, 536870910, rs->fields()[2].attributes | adFldLong)
          .isOk());
  ASSERT_TRUE(copy->appendField("CustomerID", adInteger, 4).isOk());
  EXPECT_NE(copy->fields()[0].attributes & adFldLong, 0);
  EXPECT_EQ(copy->fieldIndex("customerid").value(), 1);
  EXPECT_EQ(copy->fieldIndex("иМЯ").value(), 0);
  EXPECT_EQ(copy->fieldIndex("Customer").error().number, kErrItemNotFound);
  EXPECT_EQ(copy->appendField("ИМЯ", adInteger, 4).error().number, kErrDuplicateName);
  EXPECT_EQ(copy->appendField("", adInteger, 4).error().number, kErrArguments);
}

// AddNew appends at the end and keeps values as written; a pending record is saved by a move and
// dropped by CancelUpdate, never by a close.
TEST(Recordset, AddNewAppendsKeepsValuesAsWrittenAndIsSavedByAMoveOrDropped) {
  auto rs = numbered(2);
  EXPECT_EQ(rs->value("name").value(), Variant("n2"));  // the new record is current
  EXPECT_TRUE(rs->value(2).value().isNull());           // never written
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(
      rs->setValue(0, Variant(int64_t{1} << 40)).isOk());  // not narrowed to the field's type
  ASSERT_TRUE(rs->setValue(1, Variant(2.5)).isOk());
  ASSERT_TRUE(rs->update().isOk());
  EXPECT_EQ(id(*rs), Variant(int64_t{1} << 40));
  EXPECT_EQ(rs->value(1).value(), Variant(2.5));
  ASSERT_TRUE(rs->setValue(0, Variant(3)).isOk());
  EXPECT_TRUE(rs->editing());  // writing to the current record edits it
  ASSERT_TRUE(rs->update().isOk());

  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(4)).isOk());
  ASSERT_TRUE(rs->moveNext().isOk());  // saves, then moves past the new last record
  EXPECT_TRUE(rs->eof());
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(9)).isOk());
  EXPECT_EQ(rs->close().error().number, kErrNotAllowed);  // nothing is dropped silently
  ASSERT_TRUE(rs->cancelUpdate().isOk());
  EXPECT_EQ(id(*rs), Variant(1));  // back on the record before AddNew
  EXPECT_EQ(columnOf(*rs, 0), longs({1, 2, 3, 4}));
  EXPECT_EQ(rs->recordCount().value(), 4);
}

TEST(Recordset, MovesStopAtBothEndsAndBookmarksRestoreThePosition) {
  auto rs = numbered(5);
  ASSERT_TRUE(rs->moveLast().isOk());
  EXPECT_EQ(id(*rs), Variant(5));
  ASSERT_TRUE(rs->move(-2).isOk());
  EXPECT_EQ(id(*rs), Variant(3));
  const Variant mark = rs->bookmark().value();
  ASSERT_TRUE(rs->move(10).isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->bookmark().error().number, kErrNoCurrentRecord);
  ASSERT_TRUE(rs->move(INT64_MIN).isOk());
  EXPECT_TRUE(rs->bof());
  ASSERT_TRUE(rs->move(INT64_MAX).isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->move(1).error().number, kErrNoCurrentRecord);
  ASSERT_TRUE(rs->setBookmark(mark).isOk());
  EXPECT_EQ(id(*rs), Variant(3));
  EXPECT_EQ(rs->setBookmark(Variant(99.0)).error().number, kErrArguments);
  EXPECT_EQ(rs->setBookmark(Variant("nonsense")).error().number, kErrArguments);
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->movePrevious().isOk());
  EXPECT_TRUE(rs->bof() && !rs->eof());
  EXPECT_EQ(rs->movePrevious().error().number, kErrNoCurrentRecord);
  ASSERT_TRUE(rs->moveNext().isOk());
  EXPECT_EQ(id(*rs), Variant(1));
}

TEST(Recordset, GetRowsGivesFieldByRowAndMovesPastTheRows) {
  auto rs = numbered(3);
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->moveNext().isOk());
  auto rows = rs->getRows().value();
  ASSERT_EQ(rows->dimensions(), 2);
  EXPECT_EQ(rows->lbound(1), 0);
  EXPECT_EQ(rows->ubound(1), 2);      // three fields
  EXPECT_EQ(rows->ubound(2) + 1, 2);  // the two remaining rows
  EXPECT_EQ(*rows->at({0, 0}).value(), Variant(2));
  EXPECT_EQ(*rows->at({1, 1}).value(), Variant("n3"));
  EXPECT_TRUE(rows->at({2, 1}).value()->isNull());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->getRows().error().number, kErrNoCurrentRecord);

  ASSERT_TRUE(rs->moveFirst().isOk());
  EXPECT_EQ(rs->getRows(2).value()->ubound(2), 1);
  EXPECT_EQ(id(*rs), Variant(3));
}

TEST(Recordset, ClosedRecordSetRefusesEverythingAndReopensEmpty) {
  auto rs = numbered(1);
  ASSERT_TRUE(rs->close().isOk());
  EXPECT_FALSE(rs->isOpen());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->moveFirst().error().number, kErrClosed);
  EXPECT_EQ(rs->close().error().number, kErrClosed);
  ASSERT_TRUE(rs->open().isOk());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_EQ(rs->fields().count(), 3);
}

TEST(Recordset, AppendRecordFromCopiesTheSourceRecordByPosition) {
  auto source = numbered(1);
  put(*source, 2, Variant::null());
  auto copy = inMemory();
  ASSERT_TRUE(copy->appendRecordFrom(*source).isOk());
  EXPECT_EQ(id(*copy), Variant(1));
  EXPECT_EQ(copy->value(1).value(), Variant("n1"));
  EXPECT_TRUE(copy->value(2).value().isNull());
  ASSERT_TRUE(source->moveNext().isOk());
  EXPECT_EQ(copy->appendRecordFrom(*source).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(copy->recordCount().value(), 1);
}

TEST(RowTable, KeepsEveryKindOfValueExactly) {
  RowTable t(1);
  const std::vector<Variant> values = {Variant(),
                                       Variant::null(),
                                       Variant(true),
                                       Variant(false),
                                       Variant(int16_t{-7}),
                                       Variant(int32_t{2147483647}),
                                       Variant(int64_t{-9007199254740993}),
                                       Variant(0.1),
                                       Variant(Date{45000.25}),
                                       Variant(std::string("")),
                                       Variant("Grüße, \"x\"\r\nЖ"),
                                       Variant(VariantArray::vector({Variant(1.5)})),
                                       Variant::missing()};
  for (const Variant& v : values) t.set(t.appendRow(), 0, v);
  for (size_t i = 0; i < values.size(); ++i)  // an array is kept as the same array
    EXPECT_TRUE(values[i].isArray() ? t.value(i, 0).asArray() == values[i].asArray()
                                    : t.value(i, 0) == values[i])
        << i;
}

// New rows hold Null; whole numbers take the narrowest kind that holds them; bytes read back as an
// array of integers and stay whole as text.
TEST(RowTable, NewRowsAndTypedWrites) {
  RowTable t(2);
  t.appendRow();
  EXPECT_TRUE(t.cell(0, 0).isNull() && t.cell(0, 1).isNull());
  t.setWholeNumber(0, 0, 5);
  t.setWholeNumber(t.appendRow(), 0, int64_t{1} << 40);
  EXPECT_EQ(t.value(0, 0), Variant(int32_t{5}));
  EXPECT_EQ(t.value(1, 0), Variant(int64_t{1} << 40));
  t.setBytes(0, 1, std::string("\x00\xFF\x41", 3));
  Variant v = t.value(0, 1);
  ASSERT_TRUE(v.isArray());
  ASSERT_EQ(v.asArray()->elements().size(), 3u);
  EXPECT_EQ(v.asArray()->elements()[1], Variant(int16_t{255}));
  EXPECT_EQ(t.cell(0, 1).text, std::string_view("\x00\xFF\x41", 3));
}

// Rows across the arena's blocks and a text longer than any block read back whole; a range
// copied is independent of its table; a cleared table refills correctly.
TEST(RowTable, ManyRowsAcrossBlocksCopiesOfRangesAndClearing) {
  RowTable t(2);
  const std::string big(3 << 20, 'x');
  for (int i = 0; i < 10000; ++i) {
    const int64_t r = t.appendRow();
    t.setLong(r, 0, i);
    t.setText(r, 1, i == 5000 ? big : "t" + std::to_string(i));
  }
  EXPECT_EQ(t.rows(), 10000);
  for (int i : {0, 7, 4095, 4096, 4097, 8191, 9999}) {
    EXPECT_EQ(t.value(i, 0), Variant(int32_t{i}));
    EXPECT_EQ(t.cell(i, 1).text, "t" + std::to_string(i));
  }
  EXPECT_EQ(t.cell(5000, 1).text, big);
  auto copy = t.copyRange(3, 4);
  ASSERT_EQ(copy->rows(), 4);
  t.setText(3, 1, "changed");
  EXPECT_EQ(copy->value(0, 0), Variant(int32_t{3}));
  EXPECT_EQ(copy->cell(0, 1).text, "t3");
  EXPECT_EQ(copy->cell(3, 1).text, "t6");
  for (int round = 0; round < 3; ++round) {
    t.clear();
    EXPECT_EQ(t.rows(), 0);
    for (int i = 0; i < 20; ++i) t.setText(t.appendRow(), 0, std::string(100 + i, 'a' + round));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(t.cell(i, 0).text, std::string(100 + i, 'a' + round));
  }
}

std::shared_ptr<Recordset> writable(int rows) {
  return Recordset::open(numberedRows(rows), adOpenStatic, adLockOptimistic).value();
}

TEST(RecordsetClone, IsAnIndependentCursorOverTheSameRecords) {
  auto rs = writable(5);
  ASSERT_TRUE(rs->move(3).isOk());
  auto clone = rs->clone().value();
  EXPECT_EQ(clone->value(0).value(), Variant(int32_t{1}));  // starts on the first record
  ASSERT_TRUE(clone->moveLast().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{4}));  // the original did not move
  // Bookmarks are shared, edits and new records are seen by both.
  ASSERT_TRUE(rs->setBookmark(clone->bookmark().value()).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{5}));
  put(*clone, 1, Variant("edited"));
  EXPECT_EQ(rs->value(1).value(), Variant("edited"));
  ASSERT_TRUE(clone->addNew().isOk());
  put(*clone, 0, Variant(int32_t{6}));
  EXPECT_EQ(rs->recordCount().value(), 6);
  // Closing one leaves the other open.
  ASSERT_TRUE(rs->close().isOk());
  EXPECT_EQ(columnOf(*clone, 0), longs({1, 2, 3, 4, 5, 6}));
}

TEST(RecordsetRowRange, WritesOnEitherSideStayOnThatSide) {
  auto rs = writable(6);
  auto first = rs->rowRange(0, 3).value();
  auto second = rs->rowRange(3, 3).value();
  ASSERT_TRUE(first->moveFirst().isOk());
  put(*first, 1, Variant("page edit"));
  ASSERT_TRUE(first->addNew().isOk());
  put(*first, 0, Variant(int32_t{100}));
  EXPECT_EQ(columnOf(*first, 0), longs({1, 2, 3, 100}));
  EXPECT_EQ(columnOf(*rs, 0), longs({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(columnOf(*second, 0), longs({4, 5, 6}));
  ASSERT_TRUE(rs->moveFirst().isOk());
  EXPECT_EQ(rs->value(1).value(), Variant("row1"));

  ASSERT_TRUE(rs->move(3).isOk());
  put(*rs, 1, Variant("source edit"));
  ASSERT_TRUE(second->moveFirst().isOk());
  EXPECT_EQ(second->value(1).value(), Variant("row4"));
}

// A page behaves like a copy of its rows; a page of a page, and the clone of that, share their
// rows but not the page's.
TEST(RecordsetRowRange, IsAPageThatBehavesLikeACopyAndPagesOfPagesShareTheirRows) {
  auto rs = writable(20);
  auto page = rs->rowRange(10, 10).value();
  EXPECT_EQ(page->recordCount().value(), 10);
  EXPECT_FALSE(page->hasActiveConnection());
  EXPECT_EQ(page->fields()[1].attributes, 230);  // the source's attributes
  ASSERT_TRUE(page->moveLast().isOk());
  EXPECT_EQ(page->bookmark().value(), Variant(10.0));
  EXPECT_EQ(rs->rowRange(18, 3).error().number, kErrArguments);
  EXPECT_EQ(rs->rowRange(20, 0).value()->recordCount().value(), 0);
  auto section = page->rowRange(5, 5).value();
  EXPECT_EQ(columnOf(*section, 0), longs({16, 17, 18, 19, 20}));
  auto clone = section->clone().value();
  put(*clone, 0, Variant(int32_t{-1}));
  EXPECT_EQ(columnOf(*section, 0), longs({-1, 17, 18, 19, 20}));  // seen by the clone's original
  EXPECT_EQ(columnOf(*page, 0), longs({11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));  // not the page
}

// A static record set reads every row or fails whole; Requery reads the source again, leaves
// clones alone, and when it fails leaves the record set as it was.
TEST(RecordsetSource, StaticReadsEveryRowOrFailsWholeAndRequeryReadsAgain) {
  auto source = numberedRows(2);
  auto rs = Recordset::open(source).value();
  EXPECT_EQ(rs->lockType(), adLockReadOnly);
  EXPECT_EQ(rs->addNew().error().number, kErrNotSupported);
  EXPECT_TRUE(rs->hasActiveConnection());
  EXPECT_EQ(rs->connectionDescription(), "fake:rows");
  auto clone = rs->clone().value();
  source->rows.push_back({Variant(int32_t{3}), Variant("row3")});
  ASSERT_TRUE(rs->moveLast().isOk());
  ASSERT_TRUE(rs->requery().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{1}));
  EXPECT_EQ(rs->recordCount().value(), 3);
  EXPECT_EQ(clone->recordCount().value(), 2);
  for (bool failToRun : {true, false}) {
    source->failToRun = failToRun;
    source->failAtRow = failToRun ? -1 : 2;
    EXPECT_FALSE(rs->requery().isOk()) << failToRun;
    EXPECT_EQ(rs->recordCount().value(), 3);
  }
  auto failed = Recordset::open(source);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().number, kErrDataSource);
  EXPECT_EQ(failed.error().message, "fake: row 2 is bad");
  // An in-memory record set has no source to read again, and a record being added would be lost.
  EXPECT_EQ(rs->rowRange(0, 1).value()->requery().error().number, kErrNotAllowed);
  auto adding = writable(2);
  ASSERT_TRUE(adding->addNew().isOk());
  const Status refused = adding->requery();
  ASSERT_FALSE(refused.isOk());
  EXPECT_EQ(refused.error().number, kErrNotAllowed);
}

TEST(RecordsetSource, ForwardOnlyStreamsOneRowAtATime) {
  auto source = numberedRows(4);
  auto rs = Recordset::open(source, adOpenForwardOnly).value();
  EXPECT_EQ(rs->recordCount().value(), -1);
  EXPECT_EQ(rs->movePrevious().error().number, kErrNotSupported);
  EXPECT_EQ(rs->clone().error().number, kErrNotSupported);
  EXPECT_EQ(rs->value(1).value(), Variant("row1"));
  ASSERT_TRUE(rs->move(2).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{3}));
  // MoveFirst starts over by running the source again.
  ASSERT_TRUE(rs->moveFirst().isOk());
  EXPECT_EQ(source->runs, 2);
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{1}));
  ASSERT_TRUE(rs->moveFirst().isOk());
  EXPECT_EQ(source->runs, 2);  // already there
  auto rest = rs->getRows().value();
  EXPECT_EQ(rest->ubound(2) + 1, 4);
  EXPECT_EQ(*rest->at({1, 3}).value(), Variant("row4"));
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->moveNext().error().number, kErrNoCurrentRecord);
}

TEST(RecordsetSource, ForwardOnlyReportsAFailureInsteadOfEndingQuietly) {
  auto source = numberedRows(5);
  source->failAtRow = 2;
  auto rs = Recordset::open(source, adOpenForwardOnly).value();
  ASSERT_TRUE(rs->moveNext().isOk());
  Status s = rs->moveNext();
  ASSERT_FALSE(s.isOk());
  EXPECT_EQ(s.error().message, "fake: row 2 is bad");
  EXPECT_TRUE(rs->eof());
  auto empty = numberedRows(0);
  auto none = Recordset::open(empty, adOpenForwardOnly).value();
  EXPECT_TRUE(none->eof() && none->bof() && none->moveFirst().isOk() && none->eof());
}

std::shared_ptr<Dispatch> object(Result<Variant> v) {
  EXPECT_TRUE(v.isOk()) << v.error().message;
  return v.value().objectOrNull();
}

TEST(RecordsetMembers, AHostBuildsAndReadsARecordSetByName) {
  std::shared_ptr<Dispatch> rs = Recordset::create();
  auto fields = object(rs->get("Fields"));
  ASSERT_TRUE(
      fields->call("Append", {Variant("Id"), Variant(int32_t{adInteger}), Variant(int32_t{4})})
          .isOk());
  ASSERT_TRUE(fields
                  ->call("Append", {Variant("Link"), Variant(int32_t{adLongVarWChar}),
                                    Variant(int32_t{-1}), Variant(int32_t{230})})
                  .isOk());
  ASSERT_TRUE(rs->put("CursorType", Variant(int32_t{adOpenStatic})).isOk());
  ASSERT_TRUE(rs->put("LockType", Variant(int32_t{adLockOptimistic})).isOk());
  ASSERT_TRUE(rs->call("Open").isOk());
  EXPECT_EQ(rs->get("State").value(), Variant(int32_t{adStateOpen}));
  for (int32_t i = 1; i <= 2; ++i) {
    ASSERT_TRUE(rs->call("AddNew").isOk());
    auto id = object(fields->call("Item", {Variant(int32_t{0})}));
    ASSERT_TRUE(id->put("Value", Variant(i)).isOk());
    auto link = object(fields->call("Item", {Variant("LINK")}));
    ASSERT_TRUE(link->put("Value", Variant("site#http://x/#")).isOk());
    ASSERT_TRUE(rs->call("Update").isOk());
  }
  EXPECT_EQ(fields->get("Count").value(), Variant(int32_t{2}));
  EXPECT_EQ(rs->get("RecordCount").value(), Variant(int32_t{2}));
  EXPECT_EQ(object(fields->call("Item", {Variant("Link")}))->get("Attributes").value(),
            Variant(int32_t{230}));
  EXPECT_EQ(fields->call("Item", {Variant("Nope")}).error().number, kErrItemNotFound);
  EXPECT_EQ(fields->call("Item", {Variant(int32_t{2})}).error().number, kErrItemNotFound);

  ASSERT_TRUE(rs->call("MoveFirst").isOk());
  EXPECT_EQ(rs->get("EOF").value(), Variant(false));
  auto rows = rs->call("GetRows").value();
  ASSERT_TRUE(rows.isArray());
  EXPECT_EQ(rows.asArray()->ubound(2), 1);
  EXPECT_EQ(rs->get("EOF").value(), Variant(true));
  EXPECT_EQ(rs->call("MoveNext").error().number, kErrNoCurrentRecord);
  EXPECT_TRUE(rs->get("ActiveConnection").value().objectOrNull() == nullptr);
}

TEST(RecordsetMembers, BookmarksClonesConnectionsAndFieldsByName) {
  auto source = numberedRows(3);
  std::shared_ptr<Dispatch> rs = Recordset::open(source).value();
  ASSERT_TRUE(rs->call("Move", {Variant(int32_t{2})}).isOk());
  Variant mark = rs->get("Bookmark").value();
  auto clone = object(rs->call("Clone"));
  auto cloneName = object(object(clone->get("Fields"))->call("Item", {Variant("Name")}));
  EXPECT_EQ(cloneName->get("Value").value(), Variant("row1"));
  ASSERT_TRUE(clone->put("Bookmark", mark).isOk());
  EXPECT_EQ(cloneName->get("Value").value(), Variant("row3"));
  auto connection = object(rs->get("ActiveConnection"));
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(connection->get("ConnectionString").value(), Variant("fake:rows"));
  // A field object that outlives its column answers with an error.
  auto name = object(object(rs->get("Fields"))->call("Item", {Variant(int32_t{1})}));
  EXPECT_EQ(name->get("Name").value(), Variant("Name"));
  source->fields.pop_back();
  for (auto& row : source->rows) row.pop_back();
  ASSERT_TRUE(rs->call("Requery").isOk());
  EXPECT_EQ(source->runs, 2);
  EXPECT_EQ(name->get("Name").error().number, kErrItemNotFound);
  EXPECT_EQ(name->get("Value").error().number, kErrItemNotFound);
  ASSERT_TRUE(rs->call("Close").isOk());
  EXPECT_EQ(rs->get("RecordCount").error().number, kErrClosed);
  EXPECT_EQ(rs->call("NoSuchMember").error().number, err::kMemberNotFound);
}

TEST(RecordsetMembers, OpenByNameTakesNoSource) {
  std::shared_ptr<Dispatch> rs = Recordset::create();
  ASSERT_TRUE(object(rs->get("Fields"))
                  ->call("Append", {Variant("A"), Variant(int32_t{adInteger}), Variant(int32_t{4})})
                  .isOk());
  EXPECT_EQ(rs->call("Open", {Variant("select 1")}).error().number, kErrArguments);
  const Variant none = Variant::missing();
  EXPECT_EQ(rs->call("Open", {none, none, Variant(int32_t{99}), Variant(int32_t{adLockOptimistic})})
                .error()
                .number,
            kErrArguments);  // no such cursor type
  ASSERT_TRUE(rs->call("Open", {none, none, Variant(int32_t{adOpenStatic}),
                                Variant(int32_t{adLockOptimistic})})
                  .isOk());
  EXPECT_EQ(rs->get("LockType").value(), Variant(int32_t{adLockOptimistic}));
  EXPECT_TRUE(rs->call("AddNew").isOk());
}

}  // namespace
}  // namespace quelo
