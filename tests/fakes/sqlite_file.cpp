#include "fakes/sqlite_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace quelo::testing {

void sqlExec(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK) << file;
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

std::vector<std::vector<std::string>> sqlRows(const std::string& file, const std::string& query) {
  std::vector<std::vector<std::string>> rows;
  sqlite3* db = nullptr;
  sqlite3_stmt* s = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    sqlite3_prepare_v2(db, query.c_str(), -1, &s, nullptr);
  while (s && sqlite3_step(s) == SQLITE_ROW) {
    auto& row = rows.emplace_back();
    for (int col = 0; col < sqlite3_column_count(s); ++col) {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, col));
      row.emplace_back(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(s, col)));
    }
  }
  sqlite3_finalize(s);
  sqlite3_close(db);
  return rows;
}

}  // namespace quelo::testing
