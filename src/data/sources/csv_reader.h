// CsvReader: the records of a CSV file (RFC 4180), one at a time, with the line each starts on.
// Fields are separated by commas or by the delimiter given (a semicolon, a tab ...). Fields may
// be quoted; a quoted field may hold delimiters, doubled quotes and line breaks. A quote inside
// a field that does not start with one is a character (12" pipe, 37'36"N), as spreadsheets and
// most readers take it, unless the format asks for strict quotes. Lines end in CRLF, LF or CR; a
// UTF-8 byte-order mark at the start is skipped. Text is UTF-8 unless the format names another
// encoding. Malformed input (text after a closing quote, a quote left open at the end of the
// file, bytes that are not text of the encoding) is an Error naming the file and line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/status.h"
#include "platform/file_system.h"

namespace quelo {

struct CsvField {
  std::string text;
  bool quoted = false;
  // An empty field without quotes: a missing value.
  bool isNull() const { return !quoted && text.empty(); }
};

// How a CSV file is written.
struct CsvFormat {
  char delimiter = ',';  // never a quote or a line break
  std::string encoding;  // as iconv names it ("WINDOWS-1252"); empty: UTF-8
  bool strictQuotes = false;  // a quote inside a field that does not start with one is an error

  static CsvFormat delimitedBy(char delimiter) {
    CsvFormat format;
    format.delimiter = delimiter;
    return format;
  }
};

class CsvReader {
 public:
  // REQUIRES: the delimiter is neither a quote nor a line break.
  explicit CsvReader(CsvFormat format = {});
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // A missing or unreadable file is an Error naming it.
  Status open(FileSystem& files, const std::string& path);
  // Reads `file`, opened already (the raw bytes, in the format's encoding); `path` names it in
  // errors.
  Status open(std::unique_ptr<InputFile> file, const std::string& path);
  // Reads the next record; false at the end of the file.
  Result<bool> next();
  int fieldCount() const { return count_; }
  // REQUIRES: 0 <= i < fieldCount(); valid until the next call of next().
  const CsvField& field(int i) const { return fields_[i]; }
  // The line on which the last record read starts (the first line is 1).
  int64_t line() const { return recordLine_; }
  // "PATH:LINE: what", for errors about the last record.
  Error errorAt(int64_t line, const std::string& what) const;

 private:
  int get();
  int peek();
  bool refill();
  void endLine(int c);
  Status readQuoted(CsvField& f);
  Status readPlain(CsvField& f, int& c);
  Status checkText(const CsvField& f) const;

  int delimiter_;  // as the byte get() returns
  CsvFormat format_;
  std::string path_;
  std::unique_ptr<InputFile> file_;
  std::unique_ptr<char[]> buffer_;
  size_t pos_ = 0, end_ = 0;
  bool atEnd_ = false;
  Status readError_;
  int64_t line_ = 1, recordLine_ = 0;
  std::vector<CsvField> fields_;
  int count_ = 0;
};

}  // namespace quelo
