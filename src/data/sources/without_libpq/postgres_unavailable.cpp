// The PostgreSQL source of a build without libpq: every run says why it cannot work.
#include "data/sources/postgres_source.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

class UnavailablePostgres : public RowSource {
 public:
  Result<std::unique_ptr<RowStream>> run() const override {
    return ado::dataSourceError("PostgreSQL: this build of quelo has no PostgreSQL support (libpq was not found)");
  }
  std::string description() const override { return "postgres"; }
};

}  // namespace

std::shared_ptr<RowSource> postgresQuery(std::string, std::string) { return std::make_shared<UnavailablePostgres>(); }

}  // namespace quelo
