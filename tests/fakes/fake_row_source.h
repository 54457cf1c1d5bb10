// A RowSource over rows held in memory, for tests of record sets: it counts its runs, can be
// changed between runs (to see Requery), and can fail at a chosen row or when run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/recordset/ado.h"
#include "data/recordset/row_source.h"

namespace quelo::testing {

class FakeRowSource : public RowSource {
 public:
  std::vector<FieldInfo> fields;
  std::vector<std::vector<Variant>> rows;
  int failAtRow = -1;       // readRow of this row (0-based) fails
  bool failToRun = false;
  mutable int runs = 0;

  Result<std::unique_ptr<RowStream>> run() const override {
    ++runs;
    if (failToRun) return ado::dataSourceError("fake: cannot run");
    return std::unique_ptr<RowStream>(new Stream(*this));
  }
  std::string description() const override { return "fake:rows"; }

 private:
  class Stream : public RowStream {
   public:
    explicit Stream(const FakeRowSource& s) : fields_(s.fields), rows_(s.rows), failAt_(s.failAtRow) {}
    const std::vector<FieldInfo>& fields() const override { return fields_; }
    Result<bool> readRow(RowTable& table) override {
      if (next_ == failAt_) return ado::dataSourceError("fake: row " + std::to_string(next_) + " is bad");
      if (next_ >= static_cast<int>(rows_.size())) return false;
      const int64_t r = table.appendRow();
      for (size_t c = 0; c < rows_[next_].size(); ++c) table.set(r, static_cast<int>(c), rows_[next_][c]);
      ++next_;
      return true;
    }

   private:
    std::vector<FieldInfo> fields_;
    std::vector<std::vector<Variant>> rows_;
    int failAt_;
    int next_ = 0;
  };
};

// Two fields (Id Long, Name text) and `n` rows: Id 1..n, Name "row1".."rown".
inline std::shared_ptr<FakeRowSource> numberedRows(int n) {
  auto source = std::make_shared<FakeRowSource>();
  source->fields = {{"Id", ado::adInteger, 4, ado::kNumberAttributes},
                    {"Name", ado::adLongVarWChar, 536870910, ado::kLongTextAttributes}};
  for (int i = 1; i <= n; ++i) source->rows.push_back({Variant(int32_t{i}), Variant("row" + std::to_string(i))});
  return source;
}

}  // namespace quelo::testing
