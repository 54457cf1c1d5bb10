// Writes a report of an SQLite table: embed-report DATABASE QUERY APP_FOLDER. The pages go to
// APP_FOLDER/Reports; their paths are printed one a line.
#include <cstdio>
#include <iostream>

#include <varnikquelo/report.h>
#include <varnikquelo/version.h>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: embed-report DATABASE QUERY APP_FOLDER\n";
    return 2;
  }
  varnikquelo::ReportRequest request;
  request.source = varnikquelo::ReportSource::sqlite(argv[1], argv[2]);
  request.title = "Stock";
  request.fileName = "stock.htm";
  request.applicationPath = argv[3];
  request.recordsPerPage = 5;
  request.progress = [](const varnikquelo::ReportStep& step) {
    std::cerr << "page " << step.page << " of " << step.totalPages << "\r";
    return true;
  };
  const varnikquelo::ReportResult result = varnikquelo::makeReport(request);
  std::cerr << "\n";
  for (const std::string& warning : result.warnings) std::cerr << "warning: " << warning << "\n";
  if (!result.ok()) {
    std::cerr << "embed-report (VarnikQuelo " VARNIKQUELO_VERSION "): " << result.error.message << "\n";
    return 1;
  }
  for (const std::string& page : result.pages) std::cout << page << "\n";
  return 0;
}
