// The record set reached by name, as a host script or the reporter reaches a host's record set.
#include <gtest/gtest.h>

#include "fakes/fake_row_source.h"
#include "data/recordset/recordset.h"

namespace quelo {
namespace {

using namespace ado;

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
  ASSERT_TRUE(rs->call("Open", {Variant::missing(), Variant::missing(), Variant(int32_t{adOpenStatic}),
                                Variant(int32_t{adLockOptimistic})}).isOk());
  EXPECT_EQ(rs->get("LockType").value(), Variant(int32_t{adLockOptimistic}));
  EXPECT_TRUE(rs->call("AddNew").isOk());
}

}  // namespace
}  // namespace quelo
