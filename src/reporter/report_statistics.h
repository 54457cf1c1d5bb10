// The report's statistics accumulators: per output position the page sums, the running totals,
// the minimums and maximums, and the count of records written. One set per thread, carried from
// one section to the next so that page statistics cover all of a page's sections and the overall
// statistics cover all pages. An empty element counts as 0 and prints as an empty text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

using Accumulator = std::vector<std::optional<double>>;

struct ReportStatistics {
  Accumulator pageSums, reportTotals, reportMinimums, reportMaximums;
  int32_t recordsWritten = 0;

  // Every list to this length, keeping the values it holds; new elements are empty.
  void resize(size_t fields);
  // Counts one numeric value at an output position.
  void count(size_t position, double x);
};

ReportStatistics& reportStatistics();

// 0 for an empty element.
inline double valueOf(const std::optional<double>& e) { return e.value_or(0.0); }
// The element as report text: empty, or the number's shortest form.
std::string statText(const std::optional<double>& e);

}  // namespace quelo
