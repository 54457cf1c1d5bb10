// A report through ODBC (the SQLite driver) over a source failing at any row changes no page.
#include <glob.h>
#include <gtest/gtest.h>

#include "fakes/sqlite_file.h"
#include "report/report_failure.h"

namespace quelo::testing {
namespace {

TEST_F(ReportFailure, AnOdbcSourceFailingAtAnyRowChangesNoPage) {
  glob_t found{};
  ASSERT_EQ(::glob("/usr/lib/*/odbc/libsqlite3odbc.so", 0, nullptr, &found), 0)
      << "the SQLite ODBC driver is missing";
  const std::string driver = found.gl_pathv[0];
  ::globfree(&found);
  sqlExec(app / "shop.db",
          "CREATE TABLE t (id INTEGER, qty INTEGER);"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)"
          " INSERT INTO t SELECT i, i % 7 FROM n");
  expectAllOrNothing(
      [&](int failAt) {
        return varnikquelo::ReportSource::odbc(
            "DRIVER=" + driver + ";Database=" + app / "shop.db",
            "SELECT id, abs(CASE WHEN id = " + std::to_string(failAt) +
                " THEN -9223372036854775807 - 1 ELSE qty END) AS qty FROM t ORDER BY id");
      },
      "overflow");
}

}  // namespace
}  // namespace quelo::testing
