#include "data/recordset/row_table.h"

#include <gtest/gtest.h>

#include <string>

namespace quelo {
namespace {

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
