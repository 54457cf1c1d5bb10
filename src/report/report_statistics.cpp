#include "report/report_statistics.h"

#include <cmath>

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
