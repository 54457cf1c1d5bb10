#include "data/sources/csv_reader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "data/sources/decoding_input.h"
#include "data/sources/typed_text.h"
#include "automation/text.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr int kEnd = -1;

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// Bit 7 of each byte of `word` that equals `c`; the lowest one set is exact (a borrow only
// carries into the bytes above a match).
uint64_t bytesEqual(uint64_t word, unsigned char c) {
  const uint64_t x = word ^ (kOnes * c);
  return (x - kOnes) & ~x & kHighs;
}

// The count of bytes at the start of [p, p + n) that are none of a, b, c, d: eight at a time,
// as the fields between two delimiters are read in one go.
size_t ordinaryRun(const char* p, size_t n, unsigned char a, unsigned char b, unsigned char c,
                   unsigned char d) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    const uint64_t hits =
        bytesEqual(word, a) | bytesEqual(word, b) | bytesEqual(word, c) | bytesEqual(word, d);
    if (hits != 0) return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
  }
  for (; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    if (byte == a || byte == b || byte == c || byte == d) break;
  }
  return i;
}

}  // namespace

CsvReader::CsvReader(CsvFormat format)
    : delimiter_(static_cast<unsigned char>(format.delimiter)),
      format_(std::move(format)),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

CsvReader::~CsvReader() = default;

Status CsvReader::open(FileSystem& files, const std::string& path) {
  auto file = files.openForReading(path);
  if (!file) {
    if (file.error().number == err::kFileNotFound) return makeError(err::kFileNotFound, "File not found: " + path);
    return ado::dataSourceError(file.error().message);
  }
  return open(std::move(file).value(), path);
}

Status CsvReader::open(std::unique_ptr<InputFile> file, const std::string& path) {
  path_ = path;
  if (!format_.encoding.empty()) {
    auto decoded = decodingInput(std::move(file), format_.encoding, path);
    if (!decoded) return decoded.error();
    file = std::move(decoded).value();
  }
  file_ = std::move(file);
  // A byte-order mark says UTF-8; it is not part of the first field name.
  if (peek() != kEnd && std::string_view(buffer_.get() + pos_, end_ - pos_).starts_with(kUtf8Bom))
    pos_ += kUtf8Bom.size();
  return readError_;
}

bool CsvReader::refill() {
  if (atEnd_) return false;
  // Keep unread bytes (at most a few, for the byte-order mark) in front.
  const size_t keep = end_ - pos_;
  std::memmove(buffer_.get(), buffer_.get() + pos_, keep);
  pos_ = 0;
  end_ = keep;
  auto n = file_->read(buffer_.get() + end_, kBufferSize - end_);
  if (n && n.value() > 0) {
    end_ += n.value();
    return true;
  }
  if (!n) readError_ = n.error();
  atEnd_ = true;
  return end_ > pos_;
}

int CsvReader::peek() {
  if (pos_ == end_ && !refill()) return kEnd;
  if (pos_ + 3 > end_ && !atEnd_) refill();
  return static_cast<unsigned char>(buffer_[pos_]);
}

int CsvReader::get() {
  if (pos_ == end_ && !refill()) return kEnd;
  return static_cast<unsigned char>(buffer_[pos_++]);
}

// Counts a line break: CRLF is one, a lone CR or LF is one.
void CsvReader::endLine(int c) {
  if (c == '\r' && peek() == '\n') get();
  ++line_;
}

Error CsvReader::errorAt(int64_t line, const std::string& what) const {
  return ado::dataSourceError(path_ + ":" + std::to_string(line) + ": " + what);
}

Status CsvReader::checkText(const CsvField& f) const {
  if (!isUtf8(f.text)) return errorAt(line_, "the text is not UTF-8");
  return Status::ok();
}

Status CsvReader::readQuoted(CsvField& f) {
  const int64_t opened = line_;
  f.quoted = true;
  for (;;) {
    int c = get();
    if (c == kEnd) {
      if (!readError_) return readError_;
      return errorAt(opened, "a quoted field is not closed before the end of the file");
    }
    if (c == '"') {
      if (peek() != '"') return checkText(f);
      get();
    } else if (c == '\r' || c == '\n') {
      // A line break inside quotes is part of the value, as written.
      f.text.push_back(static_cast<char>(c));
      if (c == '\r' && peek() == '\n') f.text.push_back(static_cast<char>(get()));
      ++line_;
      continue;
    }
    f.text.push_back(static_cast<char>(c));
    const size_t run = ordinaryRun(buffer_.get() + pos_, end_ - pos_, '"', '\r', '\n', '"');
    f.text.append(buffer_.get() + pos_, run);
    pos_ += run;
  }
}

Status CsvReader::readPlain(CsvField& f, int& c) {
  while (c != delimiter_ && c != '\r' && c != '\n' && c != kEnd) {
    if (c == '"' && format_.strictQuotes)
      return errorAt(line_, "a quote inside a field that does not start with one (quote the field and double its quotes)");
    f.text.push_back(static_cast<char>(c));
    const size_t run = ordinaryRun(buffer_.get() + pos_, end_ - pos_,
                                   static_cast<unsigned char>(delimiter_), '"', '\r', '\n');
    f.text.append(buffer_.get() + pos_, run);
    pos_ += run;
    c = get();
  }
  return checkText(f);
}

Result<bool> CsvReader::next() {
  count_ = 0;
  if (peek() == kEnd) {
    if (!readError_) return readError_.error();
    return false;
  }
  recordLine_ = line_;
  for (;;) {
    if (count_ == static_cast<int>(fields_.size())) fields_.emplace_back();
    CsvField& f = fields_[count_++];
    f.text.clear();
    f.quoted = false;
    int c = get();
    if (c == '"') {
      if (Status s = readQuoted(f); !s) return s.error();
      c = get();
      if (c != delimiter_ && c != '\r' && c != '\n' && c != kEnd)
        return errorAt(line_, "text after the closing quote of a field");
    } else if (Status s = readPlain(f, c); !s) {
      return s.error();
    }
    if (c == delimiter_) continue;
    if (c == kEnd) {
      if (!readError_) return readError_.error();
      return true;
    }
    endLine(c);
    return true;
  }
}

}  // namespace quelo
