// The report's statistics accumulators: per output position the page sums, the running totals,
// the minimums and maximums, and the count of records written. One set per report run, carried
// from one section to the next so that page statistics cover all of a page's sections and the
// overall statistics cover all pages. An empty element counts as 0 and prints as an empty text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

  // Starts the statistics of a page counted apart from the pages before it, `before` records
  // into the report: its minimums and maximums are those of the page alone.
  void startApart(int32_t before);
  // Adds a page counted apart (see startApart) whose page statistics have been written, with
  // the same result as had it been counted after the pages counted here.
  void addApart(const ReportStatistics& page);
};

// The number a numeric value counts with: the leading decimal number of its text, as val reads
// it but with no &H or &O prefix ("&H10" counts 0, not 16).
double leadingNumber(std::string_view text);
// 0 for an empty element.
inline double valueOf(const std::optional<double>& e) {
  return e.value_or(0.0);
}
// A statistic as report text: the number's shortest form. A sum or total beyond the range of a
// double has no number to show; it reads "Overflow", the text of the overflow error, so that the
// line keeps its shape and no reader takes "Infinity" (or a wrapped, clipped value) for the sum.
std::string statNumber(double x);
// The element as report text: empty, or statNumber of its value.
std::string statText(const std::optional<double>& e);

}  // namespace quelo
