// SQLite files as another program makes and reads them, through the sqlite3 library.
#pragma once

#include <string>
#include <vector>

namespace quelo::testing {

// Runs the statements on FILE, creating it when missing; a failure fails the test.
void sqlExec(const std::string& file, const std::string& sql);
// The rows of QUERY on FILE, opened read-only: each column as its bytes (NULL as ""); none when
// the file cannot be opened.
std::vector<std::vector<std::string>> sqlRows(const std::string& file, const std::string& query);

}  // namespace quelo::testing
