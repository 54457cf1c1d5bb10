#include "data/sources/odbc/server_dialects.h"

namespace quelo {
namespace {

constexpr ServerDialect kDialects[] = {
    {"PostgreSQL", "SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY", ""},
    {"MariaDB", "SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY", "SELECT @@character_set_results"},
    {"MySQL", "SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY", "SELECT @@character_set_results"},
    {"SQLite", "PRAGMA query_only = 1", ""},
};

}  // namespace

const ServerDialect* serverDialect(std::string_view dbmsName) {
  for (const ServerDialect& dialect : kDialects)
    if (dbmsName.starts_with(dialect.dbms)) return &dialect;
  return nullptr;
}

}  // namespace quelo
