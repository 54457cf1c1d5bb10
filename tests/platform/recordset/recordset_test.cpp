#include "platform/recordset/recordset.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

using namespace ado;

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

void add(Recordset& rs, int32_t id, const std::string& name) {
  ASSERT_TRUE(rs.addNew().isOk());
  ASSERT_TRUE(rs.setValue(0, Variant(id)).isOk());
  ASSERT_TRUE(rs.setValue(1, Variant(name)).isOk());
  ASSERT_TRUE(rs.update().isOk());
}

std::vector<int32_t> ids(Recordset& rs) {
  std::vector<int32_t> out;
  EXPECT_TRUE(rs.moveFirst().isOk());
  while (!rs.eof()) {
    out.push_back(rs.value(0).value().asLong());
    EXPECT_TRUE(rs.moveNext().isOk());
  }
  return out;
}

TEST(Recordset, EmptyRecordSetIsAtItsEndRightAfterMoveFirst) {
  auto rs = inMemory();
  EXPECT_TRUE(rs->moveFirst().isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_TRUE(rs->bof());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_TRUE(rs->moveLast().isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->value(0).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(rs->moveNext().error().number, kErrNoCurrentRecord);
}

TEST(Recordset, AppendedFieldsKeepTheirOrderAndGetPlainAttributes) {
  auto rs = inMemory();
  ASSERT_EQ(rs->fields().count(), 3);
  EXPECT_EQ(rs->fields()[1].name, "Name");
  EXPECT_EQ(rs->fields()[1].type, adVarWChar);
  EXPECT_EQ(rs->fields()[1].definedSize, 50);
  EXPECT_EQ(rs->fields()[0].attributes, 118);
  EXPECT_EQ(rs->fields()[1].attributes, 102);
  EXPECT_EQ(rs->fields()[2].attributes, 102);  // no long bit: not a link field unless carried over
  auto copy = Recordset::create();
  ASSERT_TRUE(copy->appendField("Note", adLongVarWChar, 536870910, rs->fields()[2].attributes | adFldLong).isOk());
  EXPECT_EQ(copy->fields()[0].attributes, 230);
}

TEST(Recordset, FieldsAreFoundByNameInAnyLetterCase) {
  auto rs = Recordset::create();
  ASSERT_TRUE(rs->appendField("Имя", adVarWChar, 10).isOk());
  ASSERT_TRUE(rs->appendField("CustomerID", adInteger, 4).isOk());
  EXPECT_EQ(rs->fieldIndex("customerid").value(), 1);
  EXPECT_EQ(rs->fieldIndex("CUSTOMERID").value(), 1);
  EXPECT_EQ(rs->fieldIndex("иМЯ").value(), 0);
  EXPECT_EQ(rs->fieldIndex("Customer").error().number, kErrItemNotFound);
  EXPECT_EQ(rs->appendField("ИМЯ", adInteger, 4).error().number, kErrDuplicateName);
  EXPECT_EQ(rs->appendField("", adInteger, 4).error().number, kErrArguments);
}

TEST(Recordset, FieldsAreFixedOnceOpenAndOpeningNeedsFields) {
  auto bare = Recordset::create();
  EXPECT_EQ(bare->open().error().number, kErrArguments);
  auto rs = inMemory();
  EXPECT_EQ(rs->appendField("More", adInteger, 4).error().number, kErrOpen);
  EXPECT_EQ(rs->setCursorType(adOpenForwardOnly).error().number, kErrOpen);
  EXPECT_EQ(rs->open().error().number, kErrOpen);
}

TEST(Recordset, AddNewThenUpdateAppendsAtTheEndAndMakesItCurrent) {
  auto rs = inMemory();
  add(*rs, 1, "one");
  add(*rs, 2, "two");
  EXPECT_EQ(rs->value("name").value(), Variant("two"));
  EXPECT_TRUE(rs->value(2).value().isNull());  // never written
  ASSERT_TRUE(rs->moveFirst().isOk());
  add(*rs, 3, "three");
  EXPECT_EQ(ids(*rs), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(rs->recordCount().value(), 3);
}

TEST(Recordset, ValuesAreKeptAsWritten) {
  auto rs = inMemory();
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(int64_t{1} << 40)).isOk());
  ASSERT_TRUE(rs->setValue(1, Variant(2.5)).isOk());
  ASSERT_TRUE(rs->update().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int64_t{1} << 40));
  EXPECT_EQ(rs->value(1).value(), Variant(2.5));
}

TEST(Recordset, PendingRecordsAreSavedByAMoveAndDroppedByCancelUpdate) {
  auto rs = inMemory();
  add(*rs, 1, "one");
  ASSERT_TRUE(rs->addNew().isOk());
  EXPECT_FALSE(rs->eof());
  ASSERT_TRUE(rs->setValue(0, Variant(int32_t{2})).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{2}));
  ASSERT_TRUE(rs->moveNext().isOk());  // saves, then moves past the new last record
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->recordCount().value(), 2);

  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(int32_t{9})).isOk());
  EXPECT_EQ(rs->close().error().number, kErrNotAllowed);  // nothing is dropped silently
  ASSERT_TRUE(rs->cancelUpdate().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{1}));  // back on the record before AddNew
  EXPECT_EQ(ids(*rs), (std::vector<int32_t>{1, 2}));
}

TEST(Recordset, WritingToTheCurrentRecordEditsItOnUpdate) {
  auto rs = inMemory();
  add(*rs, 1, "one");
  add(*rs, 2, "two");
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->setValue(1, Variant("uno")).isOk());
  EXPECT_TRUE(rs->editing());
  ASSERT_TRUE(rs->update().isOk());
  EXPECT_EQ(rs->value(1).value(), Variant("uno"));
  EXPECT_EQ(rs->recordCount().value(), 2);
}

TEST(Recordset, ANewRecordSetIsForwardOnlyAndReadOnlyUntilToldOtherwise) {
  auto rs = Recordset::create();
  EXPECT_EQ(rs->cursorType(), adOpenForwardOnly);
  EXPECT_EQ(rs->lockType(), adLockReadOnly);
  ASSERT_TRUE(rs->appendField("Id", adInteger, 4).isOk());
  ASSERT_TRUE(rs->open().isOk());
  EXPECT_EQ(rs->cursorType(), adOpenStatic);  // rows in memory can be visited in any order
  EXPECT_EQ(rs->addNew().error().number, kErrNotSupported);
}

TEST(Recordset, MovesStopAtBothEnds) {
  auto rs = inMemory();
  for (int i = 1; i <= 5; ++i) add(*rs, i, "r");
  ASSERT_TRUE(rs->moveLast().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{5}));
  ASSERT_TRUE(rs->move(-2).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{3}));
  ASSERT_TRUE(rs->move(10).isOk());
  EXPECT_TRUE(rs->eof());
  ASSERT_TRUE(rs->move(INT64_MIN).isOk());
  EXPECT_TRUE(rs->bof());
  ASSERT_TRUE(rs->move(INT64_MAX).isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->move(1).error().number, kErrNoCurrentRecord);
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->movePrevious().isOk());
  EXPECT_TRUE(rs->bof());
  EXPECT_FALSE(rs->eof());
  EXPECT_EQ(rs->movePrevious().error().number, kErrNoCurrentRecord);
  ASSERT_TRUE(rs->moveNext().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{1}));
}

TEST(Recordset, BookmarksRestoreThePosition) {
  auto rs = inMemory();
  for (int i = 1; i <= 4; ++i) add(*rs, i, "r");
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->move(2).isOk());
  Variant mark = rs->bookmark().value();
  ASSERT_TRUE(rs->moveLast().isOk());
  ASSERT_TRUE(rs->setBookmark(mark).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{3}));
  EXPECT_EQ(rs->setBookmark(Variant(99.0)).error().number, kErrArguments);
  EXPECT_EQ(rs->setBookmark(Variant("nonsense")).error().number, kErrArguments);
  ASSERT_TRUE(rs->move(5).isOk());
  EXPECT_EQ(rs->bookmark().error().number, kErrNoCurrentRecord);
}

TEST(Recordset, GetRowsGivesFieldByRowAndMovesPastTheRows) {
  auto rs = inMemory();
  for (int i = 1; i <= 3; ++i) add(*rs, i, "n" + std::to_string(i));
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->moveNext().isOk());
  auto rows = rs->getRows().value();
  ASSERT_EQ(rows->dimensions(), 2);
  EXPECT_EQ(rows->lbound(1), 0);
  EXPECT_EQ(rows->ubound(1), 2);  // three fields
  EXPECT_EQ(rows->ubound(2) + 1, 2);  // the two remaining rows
  EXPECT_EQ(*rows->at({0, 0}).value(), Variant(int32_t{2}));
  EXPECT_EQ(*rows->at({1, 1}).value(), Variant("n3"));
  EXPECT_TRUE(rows->at({2, 1}).value()->isNull());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->getRows().error().number, kErrNoCurrentRecord);

  ASSERT_TRUE(rs->moveFirst().isOk());
  auto two = rs->getRows(2).value();
  EXPECT_EQ(two->ubound(2), 1);
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{3}));
}

TEST(Recordset, ClosedRecordSetRefusesEverything) {
  auto rs = inMemory();
  add(*rs, 1, "one");
  ASSERT_TRUE(rs->close().isOk());
  EXPECT_FALSE(rs->isOpen());
  EXPECT_EQ(rs->moveFirst().error().number, kErrClosed);
  EXPECT_EQ(rs->value(0).error().number, kErrClosed);
  EXPECT_EQ(rs->recordCount().error().number, kErrClosed);
  EXPECT_EQ(rs->close().error().number, kErrClosed);
  EXPECT_EQ(rs->clone().error().number, kErrClosed);
  EXPECT_TRUE(rs->eof());
  // Reopened, it is empty again with the same fields.
  ASSERT_TRUE(rs->open().isOk());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_EQ(rs->fields().count(), 3);
}

TEST(Recordset, AppendRecordFromCopiesTheSourceRecordByPosition) {
  auto source = inMemory();
  add(*source, 7, "seven");
  ASSERT_TRUE(source->setValue(2, Variant::null()).isOk());
  ASSERT_TRUE(source->update().isOk());
  auto copy = inMemory();
  ASSERT_TRUE(copy->appendRecordFrom(*source).isOk());
  EXPECT_EQ(copy->value(0).value(), Variant(int32_t{7}));
  EXPECT_EQ(copy->value(1).value(), Variant("seven"));
  EXPECT_TRUE(copy->value(2).value().isNull());
  ASSERT_TRUE(source->moveNext().isOk());
  EXPECT_EQ(copy->appendRecordFrom(*source).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(copy->recordCount().value(), 1);
}

}  // namespace
}  // namespace quelo
