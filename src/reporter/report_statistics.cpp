#include "reporter/report_statistics.h"

#include "platform/variant.h"

namespace quelo {

void ReportStatistics::resize(size_t fields) {
  for (Accumulator* a : {&pageSums, &reportTotals, &reportMinimums, &reportMaximums}) a->resize(fields);
}

void ReportStatistics::count(size_t position, double x) {
  if (position >= pageSums.size()) return;
  pageSums[position] = valueOf(pageSums[position]) + x;
  if (x < valueOf(reportMinimums[position])) reportMinimums[position] = x;
  if (x > valueOf(reportMaximums[position])) reportMaximums[position] = x;
}

ReportStatistics& reportStatistics() {
  thread_local ReportStatistics stats;
  return stats;
}

std::string statText(const std::optional<double>& e) { return e ? formatNumber(*e) : std::string(); }

}  // namespace quelo
