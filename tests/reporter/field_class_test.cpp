#include "reporter/field_class.h"

#include <gtest/gtest.h>

#include "data/recordset/field_list.h"

namespace quelo {
namespace {

TEST(FieldClass, TypeCodesDecideTheClass) {
  for (int16_t type : {16, 2, 3, 20, 17, 18, 19, 21, 4, 5, 6, 14, 131})
    EXPECT_EQ(FieldClass(102, type), "number") << type;
  for (int16_t type : {7, 133, 134, 135}) EXPECT_EQ(FieldClass(0, type), "date") << type;
  for (int16_t type : {8, 129, 200, 201, 130, 202}) EXPECT_EQ(FieldClass(118, type), "text") << type;
  for (int16_t type : {132, 12, 72, 128, 204, 205}) EXPECT_EQ(FieldClass(102, type), "others") << type;
}

TEST(FieldClass, BooleanComesOnlyFromTheType) {
  for (int16_t attributes : {0, 90, 118, 102, 122, 230, -1})
    EXPECT_EQ(FieldClass(attributes, 11), "boolean") << attributes;
  for (int16_t attributes : {0, 90, 118, 102, 106, 122, 230, 234, 0x7FFF})
    EXPECT_NE(FieldClass(attributes, 0), "boolean") << attributes;
}

TEST(FieldClass, LongUnicodeTextIsAHyperlinkOnlyWithExactAttributes) {
  EXPECT_EQ(FieldClass(230, 203), "hyperlink");
  EXPECT_EQ(FieldClass(234, 203), "hyperlink");
  EXPECT_EQ(FieldClass(102, 203), "text");
  EXPECT_EQ(FieldClass(0x8E6, 203), "text");  // 230 plus another bit
  EXPECT_EQ(FieldClass(234, 202), "text");
  EXPECT_EQ(FieldClass(102, 72), "others");
}

TEST(FieldClass, UnlistedTypesFallBackToTheWholeAttributeValue) {
  EXPECT_EQ(FieldClass(118, 0), "number");
  EXPECT_EQ(FieldClass(90, 10), "number");
  EXPECT_EQ(FieldClass(102, 9), "text");
  EXPECT_EQ(FieldClass(106, 13), "text");
  EXPECT_EQ(FieldClass(122, 136), "date");
  EXPECT_EQ(FieldClass(230, 139), "hyperlink");
  EXPECT_EQ(FieldClass(234, 0), "hyperlink");
  EXPECT_EQ(FieldClass(0, 0), "others");
  EXPECT_EQ(FieldClass(118 | 0x100, 0), "others");
  EXPECT_EQ(FieldClass(-1, 0), "others");
}

TEST(FieldClass, RecordSetFieldsWithAttributesBeyondSixteenBitsAreOthers) {
  EXPECT_EQ(FieldClass(FieldInfo{"Link", 203, 0, 230}), "hyperlink");
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 0, 0, 118 | 0x8000}), "others");
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 0, 0, 118 | 0x10000}), "others");
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 3, 0, 118 | 0x8000}), "number");
}

}  // namespace
}  // namespace quelo
