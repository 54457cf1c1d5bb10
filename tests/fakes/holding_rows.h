// A RowSource whose run holds before one of its rows until a condition holds (ten seconds at
// most): a report counted while it is read has pages under way by then, before the rest of its
// source is read.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "data/recordset/row_source.h"

namespace quelo::testing {

class HoldingRows : public RowSource {
 public:
  // Holds before row `at` (1 is the first) of each run of `source` until `ready` holds.
  HoldingRows(std::shared_ptr<const RowSource> source, int64_t at, std::function<bool()> ready)
      : source_(std::move(source)), at_(at), ready_(std::move(ready)) {}

  Result<std::unique_ptr<RowStream>> run() const override {
    auto rows = source_->run();
    if (!rows) return rows.error();
    return std::unique_ptr<RowStream>(std::make_unique<Stream>(*this, std::move(rows).value()));
  }
  std::string description() const override { return source_->description(); }
  // Whether a run was held until the condition held, not given up on.
  bool met() const { return met_; }

 private:
  class Stream : public RowStream {
   public:
    Stream(const HoldingRows& owner, std::unique_ptr<RowStream> rows)
        : owner_(owner), rows_(std::move(rows)) {}
    const std::vector<FieldInfo>& fields() const override { return rows_->fields(); }
    Result<bool> readRow(RowTable& table) override {
      hold();
      return rows_->readRow(table);
    }
    Result<bool> next() override {
      hold();
      return rows_->next();
    }
    CellView cell(int column) const override { return rows_->cell(column); }

   private:
    void hold() {
      if (++read_ != owner_.at_) return;
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!owner_.ready_() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      owner_.met_ = owner_.ready_();
    }
    const HoldingRows& owner_;
    std::unique_ptr<RowStream> rows_;
    int64_t read_ = 0;
  };

  std::shared_ptr<const RowSource> source_;
  int64_t at_;
  std::function<bool()> ready_;
  mutable std::atomic<bool> met_{false};
};

// Whether `pages` pages (one unless told) are under way in a run folder of `reports` (a hidden
// folder of temporaries).
inline bool pageUnderWay(const std::string& reports, int pages = 1) {
  std::error_code error;
  int found = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(reports, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    if (it->is_regular_file(error) &&
        it->path().parent_path().filename().string().starts_with(".Quelo-update-") &&
        ++found == pages)
      return true;
  return false;
}

}  // namespace quelo::testing
