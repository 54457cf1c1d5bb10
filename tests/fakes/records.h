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

}  // namespace quelo::testing
