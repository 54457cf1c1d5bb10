// A record set's values as a test compares them.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "data/recordset/recordset.h"

namespace quelo::testing {

using Records = std::vector<std::vector<Variant>>;

// Every record's values from the first on; the record set is left at its end.
inline Records recordsOf(Recordset& rs) {
  Records out;
  EXPECT_TRUE(rs.moveFirst().isOk());
  while (!rs.eof()) {
    auto& record = out.emplace_back();
    for (int f = 0; f < rs.fields().count(); ++f) record.push_back(rs.value(f).value());
    EXPECT_TRUE(rs.moveNext().isOk());
  }
  return out;
}

// One field's values, from the first record on.
inline std::vector<Variant> columnOf(Recordset& rs, int field) {
  std::vector<Variant> out;
  for (const auto& record : recordsOf(rs)) out.push_back(record[field]);
  return out;
}

// What a test expects of a field: its name, type, size (-1: any), attributes, and the current
// record's value (Empty: not checked).
struct FieldExpect {
  const char* name;
  int32_t type, definedSize, attributes;
  Variant value;
};
inline void expectFields(Recordset& rs, const std::vector<FieldExpect>& expected) {
  ASSERT_EQ(rs.fields().count(), static_cast<int>(expected.size()));
  for (int f = 0; f < rs.fields().count(); ++f) {
    const FieldExpect& e = expected[f];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(rs.fields()[f].name, e.name);
    EXPECT_EQ(rs.fields()[f].type, e.type);
    if (e.definedSize >= 0) { EXPECT_EQ(rs.fields()[f].definedSize, e.definedSize); }
    EXPECT_EQ(rs.fields()[f].attributes, e.attributes);
    if (!e.value.isEmpty()) { EXPECT_EQ(rs.value(f).value(), e.value); }
  }
}

// Long values, as columnOf gives them.
inline std::vector<Variant> longs(std::initializer_list<int32_t> values) {
  return std::vector<Variant>(values.begin(), values.end());
}

}  // namespace quelo::testing
