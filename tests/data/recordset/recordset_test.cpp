#include "data/recordset/recordset.h"

#include <gtest/gtest.h>

#include "fakes/records.h"

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

std::shared_ptr<Recordset> numbered(int n) {
  auto rs = inMemory();
  for (int i = 1; i <= n; ++i) add(*rs, i, "n" + std::to_string(i));
  return rs;
}

// The current record's Id.
Variant id(Recordset& rs) { return rs.value(0).value(); }

TEST(Recordset, EmptyRecordSetIsAtItsEndRightAfterMoveFirst) {
  auto rs = inMemory();
  EXPECT_TRUE(rs->moveFirst().isOk());
  EXPECT_TRUE(rs->eof() && rs->bof());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_TRUE(rs->moveLast().isOk());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->value(0).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(rs->moveNext().error().number, kErrNoCurrentRecord);
}

TEST(Recordset, FieldsKeepOrderAndAttributesAndAreFoundByNameInAnyLetterCase) {
  auto rs = inMemory();
  ASSERT_EQ(rs->fields().count(), 3);
  EXPECT_EQ(rs->fields()[1].name, "Name");
  EXPECT_EQ(rs->fields()[1].type, adVarWChar);
  EXPECT_EQ(rs->fields()[1].definedSize, 50);
  // No long bit on the text field: not a link field unless carried over.
  EXPECT_EQ((std::vector<int32_t>{rs->fields()[0].attributes, rs->fields()[1].attributes, rs->fields()[2].attributes}),
            (std::vector<int32_t>{118, 102, 102}));
  auto copy = Recordset::create();
  ASSERT_TRUE(copy->appendField("Имя", adLongVarWChar, 536870910, rs->fields()[2].attributes | adFldLong).isOk());
  ASSERT_TRUE(copy->appendField("CustomerID", adInteger, 4).isOk());
  EXPECT_EQ(copy->fields()[0].attributes, 230);
  EXPECT_EQ(copy->fieldIndex("customerid").value(), 1);
  EXPECT_EQ(copy->fieldIndex("CUSTOMERID").value(), 1);
  EXPECT_EQ(copy->fieldIndex("иМЯ").value(), 0);
  EXPECT_EQ(copy->fieldIndex("Customer").error().number, kErrItemNotFound);
  EXPECT_EQ(copy->appendField("ИМЯ", adInteger, 4).error().number, kErrDuplicateName);
  EXPECT_EQ(copy->appendField("", adInteger, 4).error().number, kErrArguments);
}

TEST(Recordset, FieldsAreFixedOnceOpenAndOpeningNeedsFields) {
  auto bare = Recordset::create();
  EXPECT_EQ(bare->open().error().number, kErrArguments);
  ASSERT_TRUE(bare->appendField("Id", adInteger, 4).isOk());
  ASSERT_TRUE(bare->open().isOk());
  EXPECT_EQ(bare->cursorType(), adOpenStatic);  // rows in memory can be visited in any order
  EXPECT_EQ(bare->addNew().error().number, kErrNotSupported);  // read-only unless told otherwise
  auto rs = inMemory();
  EXPECT_EQ(rs->appendField("More", adInteger, 4).error().number, kErrOpen);
  EXPECT_EQ(rs->setCursorType(adOpenForwardOnly).error().number, kErrOpen);
  EXPECT_EQ(rs->open().error().number, kErrOpen);
}

TEST(Recordset, AddNewAppendsAtTheEndKeepsValuesAsWrittenAndEditsOnUpdate) {
  auto rs = numbered(2);
  EXPECT_EQ(rs->value("name").value(), Variant("n2"));  // the new record is current
  EXPECT_TRUE(rs->value(2).value().isNull());  // never written
  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(int64_t{1} << 40)).isOk());  // not narrowed to the field's type
  ASSERT_TRUE(rs->setValue(1, Variant(2.5)).isOk());
  ASSERT_TRUE(rs->update().isOk());
  EXPECT_EQ(id(*rs), Variant(int64_t{1} << 40));
  EXPECT_EQ(rs->value(1).value(), Variant(2.5));
  ASSERT_TRUE(rs->setValue(0, Variant(3)).isOk());
  EXPECT_TRUE(rs->editing());  // writing to the current record edits it
  ASSERT_TRUE(rs->update().isOk());
  EXPECT_EQ(testing::columnOf(*rs, 0), testing::longs({1, 2, 3}));
  EXPECT_EQ(rs->recordCount().value(), 3);
}

TEST(Recordset, PendingRecordsAreSavedByAMoveAndDroppedByCancelUpdate) {
  auto rs = numbered(1);
  ASSERT_TRUE(rs->addNew().isOk());
  EXPECT_FALSE(rs->eof());
  ASSERT_TRUE(rs->setValue(0, Variant(2)).isOk());
  EXPECT_EQ(id(*rs), Variant(2));
  ASSERT_TRUE(rs->moveNext().isOk());  // saves, then moves past the new last record
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->recordCount().value(), 2);

  ASSERT_TRUE(rs->moveFirst().isOk());
  ASSERT_TRUE(rs->addNew().isOk());
  ASSERT_TRUE(rs->setValue(0, Variant(9)).isOk());
  EXPECT_EQ(rs->close().error().number, kErrNotAllowed);  // nothing is dropped silently
  ASSERT_TRUE(rs->cancelUpdate().isOk());
  EXPECT_EQ(id(*rs), Variant(1));  // back on the record before AddNew
  EXPECT_EQ(testing::columnOf(*rs, 0), testing::longs({1, 2}));
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
  EXPECT_EQ(rows->ubound(1), 2);  // three fields
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
  const std::vector<int32_t> errors{rs->moveFirst().error().number, rs->value(0).error().number,
                                    rs->recordCount().error().number, rs->close().error().number,
                                    rs->clone().error().number};
  EXPECT_EQ(errors, std::vector<int32_t>(5, kErrClosed));
  ASSERT_TRUE(rs->open().isOk());
  EXPECT_EQ(rs->recordCount().value(), 0);
  EXPECT_EQ(rs->fields().count(), 3);
}

TEST(Recordset, AppendRecordFromCopiesTheSourceRecordByPosition) {
  auto source = numbered(1);
  ASSERT_TRUE(source->setValue(2, Variant::null()).isOk());
  ASSERT_TRUE(source->update().isOk());
  auto copy = inMemory();
  ASSERT_TRUE(copy->appendRecordFrom(*source).isOk());
  EXPECT_EQ(id(*copy), Variant(1));
  EXPECT_EQ(copy->value(1).value(), Variant("n1"));
  EXPECT_TRUE(copy->value(2).value().isNull());
  ASSERT_TRUE(source->moveNext().isOk());
  EXPECT_EQ(copy->appendRecordFrom(*source).error().number, kErrNoCurrentRecord);
  EXPECT_EQ(copy->recordCount().value(), 1);
}

}  // namespace
}  // namespace quelo
