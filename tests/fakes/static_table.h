// Static record sets built row by row, shared by the report tests and the report views' tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"

namespace quelo::testing {

struct FieldSpec {
  std::string name;
  int32_t type;
  int32_t size;
  std::optional<int32_t> attributes;
};

// A static record set with these fields and rows.
inline std::shared_ptr<Recordset> table(const std::vector<FieldSpec>& fields,
                                        const std::vector<std::vector<Variant>>& rows) {
  auto rs = Recordset::create();
  for (const FieldSpec& f : fields)
    EXPECT_TRUE(rs->appendField(f.name, f.type, f.size, f.attributes));
  EXPECT_TRUE(rs->setCursorType(ado::adOpenStatic) && rs->setLockType(ado::adLockOptimistic) &&
              rs->open());
  for (const auto& row : rows) {
    EXPECT_TRUE(rs->addNew());
    for (size_t i = 0; i < row.size(); ++i) EXPECT_TRUE(rs->setValue(static_cast<int>(i), row[i]));
    EXPECT_TRUE(rs->update());
  }
  return rs;
}

// n products: Name ("Item i"), Price (double) and Qty (long); with a picture field, odd items name
// `picture` and even ones "missing.png".
inline std::shared_ptr<Recordset> products(int n, const std::string& pictureField = "",
                                           const std::string& picture = "") {
  std::vector<FieldSpec> fields{{"Name", 202, 50, 102}, {"Price", 5, 8, 118}, {"Qty", 3, 4, 118}};
  if (!pictureField.empty()) fields.push_back({pictureField, 202, 255, 102});
  std::vector<std::vector<Variant>> rows;
  for (int i = 1; i <= n; ++i) {
    rows.push_back({Variant("Item " + std::to_string(i)), Variant(i * 1.25), Variant(int32_t{i})});
    if (!pictureField.empty()) rows.back().push_back(Variant(i % 2 ? picture : "missing.png"));
  }
  return table(fields, rows);
}

}  // namespace quelo::testing
