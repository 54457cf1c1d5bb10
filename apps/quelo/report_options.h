// The options of 'quelo report', parsed into the arguments of an automatic report (as
// AutoZeReporter takes them) and what the command itself needs (source, page size, cancel point).
// Every option can be given as
// "--name VALUE" or "--name=VALUE".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "automation/status.h"
#include "automation/variant.h"
#include "commands.h"
#include "data/sources/open_source.h"
#include "report/report_output.h"

namespace quelo::cli {

struct ReportOptions {
  SourceKind source = SourceKind::Sample;
  std::string location;  // the SQLite or CSV file, the PostgreSQL or ODBC connection string, or the
                         // ClickHouse URL
  std::string query;
  // Of a CSV file: --delimiter, else a tab for a .tsv file, else a comma; --encoding;
  // --strict-quotes.
  CsvFormat csv;
  std::string appPath;  // as given; empty means the current folder
  // AutoZeReporter's optional arguments: Missing when not given.
  Variant picFields = Variant::missing();
  Variant graphicFolder = Variant::missing();
  Variant fileName = Variant::missing();
  Variant title = Variant::missing();
  int32_t action = 0;
  Variant forFutureUse = Variant::missing();  // with any --setting, a ten-element array
  Variant objReserved = Variant::missing();   // with any --field, a collection of the field choices
  std::vector<std::string> fieldNames;        // the names given with --field, in order
  std::optional<int32_t> maxRecs;             // none: 10 a page
  std::optional<std::string> company;
  std::optional<int32_t> cancelAtPage;
  ReportOutput output;  // --escape-values, --copy-pictures, --replace, --pdf
  bool deleteOnCancel = false;
  bool quiet = false;
  bool help = false;
};

// The message of an Error names the option at fault; it is a usage error.
Result<ReportOptions> parseReportOptions(const Words& args);

}  // namespace quelo::cli
