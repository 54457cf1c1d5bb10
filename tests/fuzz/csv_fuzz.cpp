// The CSV reader: whatever it accepts, written back with every field quoted, reads back as the
// same records; whatever it refuses is an error, never a crash.
#include "fuzz_support.h"
#include "data/sources/csv_reader.h"
#include "platform/posix/posix_file_system.h"

namespace {

using Records = std::vector<std::vector<quelo::CsvField>>;

// The records of a file, or nothing when the reader refuses it.
std::optional<Records> readAll(const std::string& path) {
  quelo::PosixFileSystem files;
  quelo::CsvReader reader;
  if (!reader.open(files, path)) quelo::fuzz::finding("cannot open " + path);
  Records records;
  for (;;) {
    auto more = reader.next();
    if (!more) return std::nullopt;
    if (!more.value()) return records;
    auto& record = records.emplace_back();
    for (int i = 0; i < reader.fieldCount(); ++i) record.push_back(reader.field(i));
  }
}

// A missing value stays an empty unquoted field; every other one is quoted, quotes doubled.
std::string quotedCsv(const Records& records) {
  std::string out;
  for (const auto& record : records) {
    for (size_t i = 0; i < record.size(); ++i) {
      if (i) out += ',';
      if (record[i].isNull()) continue;
      out += '"';
      for (char c : record[i].text) out.append(c == '"' ? 2 : 1, c);
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = quelo::fuzz::scratchPath(".csv");
  quelo::fuzz::writeFile(path, quelo::fuzz::asText(data, size));
  const auto first = readAll(path);
  if (!first) return 0;
  quelo::fuzz::writeFile(path, quotedCsv(*first));
  const auto second = readAll(path);
  if (!second) quelo::fuzz::finding("the quoted records are refused");
  if (second->size() != first->size()) quelo::fuzz::finding("the quoted records read back as another count");
  for (size_t r = 0; r < first->size(); ++r) {
    const auto &a = (*first)[r], &b = (*second)[r];
    if (a.size() != b.size()) quelo::fuzz::finding("record " + std::to_string(r) + " reads back with another field count");
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i].text != b[i].text || a[i].isNull() != b[i].isNull())
        quelo::fuzz::finding("record " + std::to_string(r) + " field " + std::to_string(i) + " reads back changed");
  }
  return 0;
}
