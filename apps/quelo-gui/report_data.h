// The record sets quelo-gui hands to the control's reporter: the bundled sample data (with its
// pictures), a CSV file, one table of an SQLite database, or the rows of a query through ODBC.
// Each is read whole into memory before the report form opens (on the thread that calls these),
// so a malformed file is reported before any form appears.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/status.h"
#include "automation/variant.h"

namespace quelo {
class Recordset;
}

namespace quelo::gui {

struct ReportData {
  std::shared_ptr<Recordset> records;
  // ShowZeReporter's picture fields and picture folder; Missing when there are none.
  Variant picFields = Variant::missing();
  Variant pictureFolder = Variant::missing();
};

// The sample products; an Error says where the sample data was looked for.
Result<ReportData> sampleReportData();
// Whether the file is read as CSV (by its extension, in any case) rather than as SQLite.
bool isCsvFile(const std::string& path);
// A CSV file, or `table` of an SQLite database.
Result<ReportData> fileReportData(const std::string& path, const std::string& table = {});
// The rows of a query through ODBC: a connection string or a data source name.
Result<ReportData> odbcReportData(const std::string& connection, const std::string& query);
// The tables of an SQLite database, in name order.
Result<std::vector<std::string>> sqliteTables(const std::string& path);

}  // namespace quelo::gui
