// The ODBC source of a build without unixODBC: every run says why it cannot work.
#include "data/sources/odbc_source.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

class UnavailableOdbc : public RowSource {
 public:
  Result<std::unique_ptr<RowStream>> run() const override {
    return ado::dataSourceError("ODBC: this build of quelo has no ODBC support (unixODBC was not found)");
  }
  std::string description() const override { return "odbc"; }
};

}  // namespace

std::shared_ptr<RowSource> odbcQuery(std::string, std::string) { return std::make_shared<UnavailableOdbc>(); }

}  // namespace quelo
