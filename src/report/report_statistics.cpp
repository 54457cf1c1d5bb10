#include "report/report_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "automation/variant.h"

namespace quelo {

void ReportStatistics::resize(size_t fields) {
  for (Accumulator* a : {&pageSums, &reportTotals, &reportMinimums, &reportMaximums})
    a->resize(fields);
}

void ReportStatistics::count(size_t position, double x) {
  if (position >= pageSums.size()) return;
  pageSums[position] = valueOf(pageSums[position]) + x;
  if (x < valueOf(reportMinimums[position])) reportMinimums[position] = x;
  if (x > valueOf(reportMaximums[position])) reportMaximums[position] = x;
}

// A minimum of nothing is +infinity, which no number is below, so the page's first number takes
// its place; a maximum of nothing likewise.
void ReportStatistics::startApart(int32_t before) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  std::fill(pageSums.begin(), pageSums.end(), std::nullopt);
  std::fill(reportTotals.begin(), reportTotals.end(), std::nullopt);
  std::fill(reportMinimums.begin(), reportMinimums.end(), kInfinity);
  std::fill(reportMaximums.begin(), reportMaximums.end(), -kInfinity);
  recordsWritten = before;
}

// Counting a page's numbers one by one changes a minimum only when one is below it, and then to
// the page's least (the first of equals): the same as counting the page's least alone. A page's
// total is its sum added to nothing, which is the sum itself (a sum of -0 gives +0, as it would
// added to any earlier total, which is never -0).
void ReportStatistics::addApart(const ReportStatistics& page) {
  for (size_t i = 0; i < page.reportTotals.size() && i < reportTotals.size(); ++i) {
    if (page.reportTotals[i]) reportTotals[i] = valueOf(reportTotals[i]) + *page.reportTotals[i];
    if (*page.reportMinimums[i] < valueOf(reportMinimums[i]))
      reportMinimums[i] = page.reportMinimums[i];
    if (*page.reportMaximums[i] > valueOf(reportMaximums[i]))
      reportMaximums[i] = page.reportMaximums[i];
  }
  recordsWritten = page.recordsWritten;
}

double leadingNumber(std::string_view text) {
  // A decimal number never starts with "&", so a text that does has none; val reads the others.
  const size_t first = text.find_first_not_of(" \t\n");
  return first != std::string_view::npos && text[first] == '&' ? 0.0 : val(text);
}

std::string statNumber(double x) {
  return std::isfinite(x) ? formatNumber(x) : std::string("Overflow");
}

std::string statText(const std::optional<double>& e) {
  return e ? statNumber(*e) : std::string();
}

}  // namespace quelo
