// Clones, pages over shared rows, record sets read from a source, and the record set reached by
// name, as a host script or the reporter reaches it.
#include <gtest/gtest.h>

#include "data/recordset/recordset.h"
#include "fakes/fake_row_source.h"
#include "fakes/records.h"

namespace quelo {
namespace {

using namespace ado;
using testing::longs;
using testing::numberedRows;
constexpr auto column = testing::columnOf;

std::shared_ptr<Recordset> writable(int rows) {
  return Recordset::open(numberedRows(rows), adOpenStatic, adLockOptimistic).value();
}

TEST(RecordsetClone, IsAnIndependentCursorOverTheSameRecords) {
  auto rs = writable(5);
  ASSERT_TRUE(rs->move(3).isOk());
  auto clone = rs->clone().value();
  EXPECT_EQ(clone->value(0).value(), Variant(int32_t{1}));  // starts on the first record
  ASSERT_TRUE(clone->moveLast().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{4}));    // the original did not move
  // Bookmarks are shared, edits and new records are seen by both.
  ASSERT_TRUE(rs->setBookmark(clone->bookmark().value()).isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{5}));
  ASSERT_TRUE(clone->setValue(1, Variant("edited")).isOk());
  ASSERT_TRUE(clone->update().isOk());
  EXPECT_EQ(rs->value(1).value(), Variant("edited"));
  ASSERT_TRUE(clone->addNew().isOk());
  ASSERT_TRUE(clone->setValue(0, Variant(int32_t{6})).isOk());
  ASSERT_TRUE(clone->update().isOk());
  EXPECT_EQ(rs->recordCount().value(), 6);
  // Closing one leaves the other open.
  ASSERT_TRUE(rs->close().isOk());
  EXPECT_EQ(column(*clone, 0), longs({1, 2, 3, 4, 5, 6}));
}

TEST(RecordsetRowRange, IsAPageThatBehavesLikeACopy) {
  auto rs = writable(10);
  auto page = rs->rowRange(4, 3).value();
  EXPECT_EQ(page->recordCount().value(), 3);
  EXPECT_EQ(page->cursorType(), adOpenStatic);
  EXPECT_EQ(page->lockType(), adLockOptimistic);
  EXPECT_FALSE(page->hasActiveConnection());
  EXPECT_EQ(page->fields()[1].attributes, 230);  // the source's attributes
  EXPECT_EQ(column(*page, 0), longs({5, 6, 7}));
  ASSERT_TRUE(page->moveLast().isOk());
  EXPECT_EQ(page->bookmark().value(), Variant(3.0));
  EXPECT_EQ(rs->rowRange(8, 3).error().number, kErrArguments);
  EXPECT_EQ(rs->rowRange(10, 0).value()->recordCount().value(), 0);
}

TEST(RecordsetRowRange, WritesOnEitherSideStayOnThatSide) {
  auto rs = writable(6);
  auto first = rs->rowRange(0, 3).value();
  auto second = rs->rowRange(3, 3).value();
  ASSERT_TRUE(first->moveFirst().isOk());
  ASSERT_TRUE(first->setValue(1, Variant("page edit")).isOk());
  ASSERT_TRUE(first->update().isOk());
  ASSERT_TRUE(first->addNew().isOk());
  ASSERT_TRUE(first->setValue(0, Variant(int32_t{100})).isOk());
  ASSERT_TRUE(first->update().isOk());
  EXPECT_EQ(column(*first, 0), longs({1, 2, 3, 100}));
  EXPECT_EQ(column(*rs, 0), longs({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(column(*second, 0), longs({4, 5, 6}));
  ASSERT_TRUE(rs->moveFirst().isOk());
  EXPECT_EQ(rs->value(1).value(), Variant("row1"));

  ASSERT_TRUE(rs->move(3).isOk());
  ASSERT_TRUE(rs->setValue(1, Variant("source edit")).isOk());
  ASSERT_TRUE(rs->update().isOk());
  ASSERT_TRUE(second->moveFirst().isOk());
  EXPECT_EQ(second->value(1).value(), Variant("row4"));
}

TEST(RecordsetRowRange, PagesOfPagesAndClonesOfPages) {
  auto rs = writable(20);
  auto page = rs->rowRange(10, 10).value();
  auto section = page->rowRange(5, 5).value();
  EXPECT_EQ(column(*section, 0), longs({16, 17, 18, 19, 20}));
  auto clone = section->clone().value();
  ASSERT_TRUE(clone->setValue(0, Variant(int32_t{-1})).isOk());
  ASSERT_TRUE(clone->update().isOk());
  EXPECT_EQ(column(*section, 0), longs({-1, 17, 18, 19, 20}));  // the clone's edit, seen by its original
  EXPECT_EQ(column(*page, 0)[5], Variant(int32_t{16}));         // ... but not by the page
}

TEST(RecordsetSource, StaticReadsEveryRowOrFailsWhole) {
  auto source = numberedRows(3);
  auto rs = Recordset::open(source).value();
  EXPECT_EQ(rs->recordCount().value(), 3);
  EXPECT_EQ(rs->lockType(), adLockReadOnly);
  EXPECT_EQ(rs->addNew().error().number, kErrNotSupported);
  EXPECT_TRUE(rs->hasActiveConnection());
  EXPECT_EQ(rs->connectionDescription(), "fake:rows");
  source->failAtRow = 2;
  auto failed = Recordset::open(source);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().number, kErrDataSource);
  EXPECT_EQ(failed.error().message, "fake: row 2 is bad");
}

TEST(RecordsetSource, RequeryReadsTheSourceAgainAndLeavesClonesAlone) {
  auto source = numberedRows(2);
  auto rs = Recordset::open(source).value();
  auto clone = rs->clone().value();
  source->rows.push_back({Variant(int32_t{3}), Variant("row3")});
  ASSERT_TRUE(rs->moveLast().isOk());
  ASSERT_TRUE(rs->requery().isOk());
  EXPECT_EQ(rs->value(0).value(), Variant(int32_t{1}));
  EXPECT_EQ(rs->recordCount().value(), 3);
  EXPECT_EQ(clone->recordCount().value(), 2);
  // A failed run leaves the record set as it was.
  for (bool failToRun : {true, false}) {
    source->failToRun = failToRun;
    source->failAtRow = failToRun ? -1 : 1;
    EXPECT_FALSE(rs->requery().isOk()) << failToRun;
    EXPECT_EQ(rs->recordCount().value(), 3);
  }
  // An in-memory record set has no source to read again.
  auto page = rs->rowRange(0, 1).value();
  EXPECT_EQ(page->requery().error().number, kErrNotAllowed);
}

TEST(RecordsetSource, ForwardOnlyStreamsOneRowAtATime) {
  auto source = numberedRows(4);
  auto rs = Recordset::open(source, adOpenForwardOnly).value();
  EXPECT_EQ(rs->cursorType(), adOpenForwardOnly);
  EXPECT_EQ(rs->recordCount().value(), -1);
  const std::vector<int32_t> refused{rs->bookmark().error().number, rs->clone().error().number,
                                     rs->moveLast().error().number, rs->movePrevious().error().number,
                                     rs->addNew().error().number};
  EXPECT_EQ(refused, std::vector<int32_t>(5, kErrNotSupported));
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
  ASSERT_TRUE(fields->call("Append", {Variant("Id"), Variant(int32_t{adInteger}), Variant(int32_t{4})}).isOk());
  ASSERT_TRUE(fields->call("Append", {Variant("Link"), Variant(int32_t{adLongVarWChar}), Variant(int32_t{-1}),
                                      Variant(int32_t{230})}).isOk());
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
  EXPECT_EQ(object(fields->call("Item", {Variant("Link")}))->get("Attributes").value(), Variant(int32_t{230}));
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

TEST(RecordsetMembers, BookmarksClonesAndConnectionsByName) {
  auto source = testing::numberedRows(3);
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
  ASSERT_TRUE(rs->call("Requery").isOk());
  EXPECT_EQ(source->runs, 2);
  EXPECT_EQ(rs->get("CursorType").value(), Variant(int32_t{adOpenStatic}));
  ASSERT_TRUE(rs->call("Close").isOk());
  EXPECT_EQ(rs->get("RecordCount").error().number, kErrClosed);
  EXPECT_EQ(rs->call("NoSuchMember").error().number, err::kMemberNotFound);
}

TEST(RecordsetMembers, AFieldObjectOutlivingItsColumnAnswersWithAnError) {
  auto source = testing::numberedRows(1);
  std::shared_ptr<Dispatch> rs = Recordset::open(source).value();
  auto name = object(object(rs->get("Fields"))->call("Item", {Variant(int32_t{1})}));
  EXPECT_EQ(name->get("Name").value(), Variant("Name"));
  source->fields.pop_back();
  for (auto& row : source->rows) row.pop_back();
  ASSERT_TRUE(rs->call("Requery").isOk());
  EXPECT_EQ(name->get("Name").error().number, kErrItemNotFound);
  EXPECT_EQ(name->get("Value").error().number, kErrItemNotFound);
}

TEST(RecordsetMembers, OpenByNameTakesNoSource) {
  std::shared_ptr<Dispatch> rs = Recordset::create();
  ASSERT_TRUE(object(rs->get("Fields"))->call("Append", {Variant("A"), Variant(int32_t{adInteger}), Variant(int32_t{4})}).isOk());
  EXPECT_EQ(rs->call("Open", {Variant("select 1")}).error().number, kErrArguments);
  const Variant none = Variant::missing();
  EXPECT_EQ(rs->call("Open", {none, none, Variant(int32_t{99}), Variant(int32_t{adLockOptimistic})}).error().number,
            kErrArguments);  // no such cursor type
  ASSERT_TRUE(
      rs->call("Open", {none, none, Variant(int32_t{adOpenStatic}), Variant(int32_t{adLockOptimistic})}).isOk());
  EXPECT_EQ(rs->get("LockType").value(), Variant(int32_t{adLockOptimistic}));
  EXPECT_TRUE(rs->call("AddNew").isOk());
}

}  // namespace {
}  // namespace quelo
