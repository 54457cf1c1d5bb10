// A record set's values as a test compares them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
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

// The record set opened, or an empty one once the test has failed.
inline std::shared_ptr<Recordset> opened(Result<std::shared_ptr<Recordset>> rs) {
  EXPECT_TRUE(rs.isOk()) << (rs.isOk() ? "" : rs.error().message);
  return rs.isOk() ? rs.value() : Recordset::create();
}

// Reads the record set to its end from where it is: how many records, and the sum of the first
// field. Record N's second field must read `text(N)` when that is given.
inline std::pair<int64_t, int64_t> countAndSum(Recordset& rs, const std::function<std::string(int64_t)>& text = {}) {
  std::pair<int64_t, int64_t> seen{0, 0};
  for (; !rs.eof(); ++seen.first) {
    seen.second += rs.cell(0).value().integer;
    if (text && rs.cell(1).value().text != text(seen.first + 1)) {
      ADD_FAILURE() << "record " << seen.first + 1 << " reads " << rs.cell(1).value().text;
      break;
    }
    if (Status s = rs.moveNext(); !s) {
      ADD_FAILURE() << s.error().message;
      break;
    }
  }
  return seen;
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
