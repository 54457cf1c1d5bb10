#include "reporter/field_class.h"

#include <gtest/gtest.h>

#include <vector>

#include "data/recordset/field_list.h"

namespace quelo {
namespace {

using enum FieldKind;

// The type code decides; the whole attribute value only where the type leaves it open.
TEST(FieldClass, FromTypeCodeThenAttributes) {
  struct Case {
    std::vector<int16_t> types;
    std::vector<int16_t> attributes;
    FieldKind expected;
  };
  const std::vector<Case> cases = {
      {{16, 2, 3, 20, 17, 18, 19, 21, 4, 5, 6, 14, 131}, {102}, Number},
      {{7, 133, 134, 135}, {0}, Date},
      {{8, 129, 200, 201, 130, 202}, {118}, Text},
      {{132, 12, 72, 128, 204, 205}, {102}, Others},
      {{11}, {0, 90, 118, 102, 122, 230, -1}, Boolean},  // boolean only from the type
      // Long Unicode text is a hyperlink only with the exact attribute values.
      {{203}, {230, 234}, Hyperlink},
      {{203}, {102, 0x8E6}, Text},  // 0x8E6: 230 plus another bit
      {{202}, {234}, Text},
      {{72}, {102}, Others},
      // Unlisted types fall back to the whole attribute value.
      {{0, 10}, {118, 90}, Number},
      {{9, 13}, {102, 106}, Text},
      {{136}, {122}, Date},
      {{139, 0}, {230, 234}, Hyperlink},
      {{0}, {0, 118 | 0x100, -1, 0x7FFF}, Others},
  };
  for (const Case& c : cases)
    for (int16_t type : c.types)
      for (int16_t attributes : c.attributes)
        EXPECT_EQ(FieldClass(attributes, type), c.expected) << attributes << ", " << type;
}

TEST(FieldClass, RecordSetFieldsWithAttributesBeyondSixteenBitsAreOthers) {
  EXPECT_EQ(FieldClass(FieldInfo{"Link", 203, 0, 230}), Hyperlink);
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 0, 0, 118 | 0x8000}), Others);
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 0, 0, 118 | 0x10000}), Others);
  EXPECT_EQ(FieldClass(FieldInfo{"Key", 3, 0, 118 | 0x8000}), Number);
}

}  // namespace
}  // namespace quelo
