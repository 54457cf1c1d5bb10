// Record sets in memory and the row table that holds their values.
#include "data/recordset/recordset.h"

#include <gtest/gtest.h>

#include <string>

#include "data/recordset/row_table.h"
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

TEST(RowTable, KeepsEveryKindOfValueExactly) {
  RowTable t(1);
  const std::vector<Variant> values = {
      Variant(), Variant::null(), Variant(true), Variant(false), Variant(int16_t{-7}),
      Variant(int32_t{2147483647}), Variant(int64_t{-9007199254740993}), Variant(0.1),
      Variant(Date{45000.25}), Variant(std::string("")), Variant("Grüße, \"x\"\r\nЖ"),
      Variant(VariantArray::vector({Variant(1.5)})), Variant::missing()};
  for (const Variant& v : values) t.set(t.appendRow(), 0, v);
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i].isArray()) {
      EXPECT_EQ(t.value(i, 0).asArray(), values[i].asArray());
      continue;
    }
    EXPECT_EQ(t.value(i, 0), values[i]) << i;
  }
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

TEST(RowTable, ManyRowsAcrossBlocksAndLongTexts) {
  RowTable t(2);
  const std::string big(3 << 20, 'x');  // longer than any arena block
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
}

TEST(RowTable, ClearForgetsRowsAndTheTableRefillsCorrectly) {
  RowTable t(1);
  for (int round = 0; round < 3; ++round) {
    t.clear();
    EXPECT_EQ(t.rows(), 0);
    for (int i = 0; i < 20; ++i) t.setText(t.appendRow(), 0, std::string(100 + i, 'a' + round));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(t.cell(i, 0).text, std::string(100 + i, 'a' + round));
  }
}

TEST(RowTable, CopyRangeCopiesValuesIntoAnIndependentTable) {
  RowTable t(2);
  for (int i = 0; i < 10; ++i) {
    const int64_t r = t.appendRow();
    t.setLong(r, 0, i);
    t.setText(r, 1, std::to_string(i));
  }
  auto copy = t.copyRange(3, 4);
  ASSERT_EQ(copy->rows(), 4);
  t.setText(3, 1, "changed");
  EXPECT_EQ(copy->value(0, 0), Variant(int32_t{3}));
  EXPECT_EQ(copy->cell(0, 1).text, "3");
  EXPECT_EQ(copy->cell(3, 1).text, "6");
}

}  // namespace
}  // namespace quelo
