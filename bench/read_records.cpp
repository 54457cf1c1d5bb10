// Reads the rows of an SQLite query into a record set, for bench/sqlite_read.sh:
//   quelo-bench-read static|forward DATABASE QUERY
// "static" reads every row into a static record set and prints the number of records; "forward"
// walks a forward-only cursor over them, touching every value, and prints a checksum as well.
#include <cstdio>
#include <cstring>
#include <string>

#include "data/sources/sqlite_source.h"
#include "data/recordset/recordset.h"
#include "platform/posix/posix_file_system.h"

namespace {

// Something of every value, so that no reading can be skipped.
uint64_t digest(const quelo::CellView& c) {
  return static_cast<uint64_t>(c.kind) + static_cast<uint64_t>(c.integer) + static_cast<uint64_t>(c.real) + c.text.size();
}

int64_t walk(quelo::Recordset& rs, uint64_t& sum) {
  int64_t records = 0;
  for (; !rs.eof(); ++records) {
    for (int f = 0; f < rs.fields().count(); ++f) sum += digest(rs.cell(f).value());
    if (quelo::Status s = rs.moveNext(); !s) {
      std::fprintf(stderr, "quelo-bench-read: %s\n", s.error().message.c_str());
      return -1;
    }
  }
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "static") != 0 && std::strcmp(argv[1], "forward") != 0)) {
    std::fprintf(stderr, "usage: quelo-bench-read static|forward DATABASE QUERY\n");
    return 2;
  }
  const bool forward = std::strcmp(argv[1], "forward") == 0;
  quelo::PosixFileSystem files;
  auto opened = quelo::Recordset::open(quelo::sqliteQuery(files, argv[2], argv[3]),
                                       forward ? quelo::ado::adOpenForwardOnly : quelo::ado::adOpenStatic);
  if (!opened) {
    std::fprintf(stderr, "quelo-bench-read: %s\n", opened.error().message.c_str());
    return 1;
  }
  quelo::Recordset& rs = *opened.value();
  if (!forward) {
    std::printf("%lld records\n", static_cast<long long>(rs.recordCount().value()));
    return 0;
  }
  uint64_t sum = 0;
  const int64_t records = walk(rs, sum);
  if (records < 0) return 1;
  std::printf("%lld records, checksum %llu\n", static_cast<long long>(records), static_cast<unsigned long long>(sum));
  return 0;
}
