// The read floor of a report: the time one thread takes to step through every row of a query and
// take every value through SQLite, writing nothing, for bench/report_html.sh to print beside the
// time of 'quelo report' on the same query. A report runs its query once, on one thread, so no
// report of it ends sooner.
//   quelo-bench-read-floor DATABASE QUERY     prints "SECONDS ROWS DIGEST"
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace {

// Something of every value, so that no reading can be skipped.
uint64_t digest(sqlite3_stmt* row, int column) {
  switch (sqlite3_column_type(row, column)) {
    case SQLITE_INTEGER:
      return static_cast<uint64_t>(sqlite3_column_int64(row, column));
    case SQLITE_FLOAT:
      return static_cast<uint64_t>(sqlite3_column_double(row, column));
    case SQLITE_NULL:
      return 0;
    default: {
      const auto* text = static_cast<const unsigned char*>(sqlite3_column_blob(row, column));
      const int bytes = sqlite3_column_bytes(row, column);
      return static_cast<uint64_t>(bytes) + (bytes > 0 ? text[bytes - 1] : 0);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quelo-bench-read-floor DATABASE QUERY\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  sqlite3* db = nullptr;
  sqlite3_stmt* row = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
      sqlite3_prepare_v2(db, argv[2], -1, &row, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "quelo-bench-read-floor: %s\n", sqlite3_errmsg(db));
    return 1;
  }
  const int columns = sqlite3_column_count(row);
  uint64_t rows = 0, sum = 0;
  int stepped;
  while ((stepped = sqlite3_step(row)) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < columns; ++c) sum += digest(row, c);
  }
  if (stepped != SQLITE_DONE) {
    std::fprintf(stderr, "quelo-bench-read-floor: %s\n", sqlite3_errmsg(db));
    return 1;
  }
  sqlite3_finalize(row);
  sqlite3_close(db);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.6f %llu %llu\n", took.count(), static_cast<unsigned long long>(rows),
              static_cast<unsigned long long>(sum));
  return 0;
}
