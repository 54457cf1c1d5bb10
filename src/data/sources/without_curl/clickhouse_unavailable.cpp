// The ClickHouse source of a build without libcurl: every run says why it cannot work.
#include "data/sources/clickhouse_source.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

class UnavailableClickhouse : public RowSource {
 public:
  Result<std::unique_ptr<RowStream>> run() const override {
    return ado::dataSourceError("ClickHouse: this build of quelo has no ClickHouse support (libcurl was not found)");
  }
  std::string description() const override { return "clickhouse"; }
};

}  // namespace

std::shared_ptr<RowSource> clickhouseQuery(std::string, std::string) { return std::make_shared<UnavailableClickhouse>(); }

}  // namespace quelo
