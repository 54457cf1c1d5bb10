#include "data/sources/decoding_input.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "automation/text.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr size_t kRawSize = 1 << 14;

// iconv_open's answer for an encoding it does not know.
bool known(iconv_t converter) { return converter != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }

Error unknownEncoding(const std::string& encoding) {
  return ado::dataSourceError("unknown text encoding '" + encoding + "' (iconv -l lists the known ones)");
}

class DecodingInput : public InputFile {
 public:
  DecodingInput(std::unique_ptr<InputFile> raw, iconv_t converter, std::string encoding, std::string path)
      : raw_(std::move(raw)), converter_(converter), encoding_(std::move(encoding)), path_(std::move(path)) {}
  ~DecodingInput() override { iconv_close(converter_); }
  DecodingInput(const DecodingInput&) = delete;
  DecodingInput& operator=(const DecodingInput&) = delete;

  // Converts what is read until some output is made or the file ends. A byte that is no
  // character stops the read at once: what was made before it is not handed out, as the file
  // cannot be read whole anyway.
  Result<size_t> read(char* buffer, size_t size) override {
    for (;;) {
      if (pos_ == end_ && !ended_)
        if (Status s = fill(); !s) return s.error();
      if (pos_ == end_ && ended_) return 0;
      char* in = bytes_ + pos_;
      size_t inLeft = end_ - pos_;
      char* out = buffer;
      size_t outLeft = size;
      const size_t done = iconv(converter_, &in, &inLeft, &out, &outLeft);
      const int why = errno;
      pos_ = static_cast<size_t>(in - bytes_);
      countLines(buffer, out);
      if (done == static_cast<size_t>(-1) && why == EILSEQ) return failure(in);
      if (done == static_cast<size_t>(-1) && why == EINVAL) {
        // A character cut at the end of what was read: read on, unless the file ends there.
        if (ended_) return errorHere("the file ends inside a " + encoding_ + " character");
        if (Status s = fill(); !s) return s.error();
      }
      if (out != buffer) return static_cast<size_t>(out - buffer);
    }
  }

 private:
  // More raw bytes behind those not yet converted.
  Status fill() {
    std::memmove(bytes_, bytes_ + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    auto n = raw_->read(bytes_ + end_, kRawSize - end_);
    if (!n) return n.error();
    end_ += n.value();
    ended_ = n.value() == 0;
    return Status::ok();
  }

  // Line breaks as the CSV reader counts them: CRLF, a lone CR or a lone LF is one.
  void countLines(const char* from, const char* to) {
    for (const char* p = from; p != to; ++p) {
      if (*p == '\n' && !afterCr_) ++lines_;
      if (*p == '\r') ++lines_;
      afterCr_ = *p == '\r';
    }
  }

  Error failure(const char* at) const {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(*at));
    return errorHere("byte " + std::string(byte) + " is no " + encoding_ + " character");
  }

  Error errorHere(const std::string& what) const {
    return ado::dataSourceError(path_ + ":" + std::to_string(lines_ + 1) + ": " + what);
  }

  std::unique_ptr<InputFile> raw_;
  iconv_t converter_;
  std::string encoding_;
  std::string path_;
  char bytes_[kRawSize];
  size_t pos_ = 0, end_ = 0;
  bool ended_ = false;
  int64_t lines_ = 0;
  bool afterCr_ = false;
};

}  // namespace

bool isUtf8Encoding(const std::string& encoding) {
  return equalsIgnoreCase(encoding, "UTF-8") || equalsIgnoreCase(encoding, "UTF8");
}

Status checkEncoding(const std::string& encoding) {
  if (isUtf8Encoding(encoding)) return Status::ok();
  iconv_t converter = iconv_open("UTF-8", encoding.c_str());
  if (!known(converter)) return unknownEncoding(encoding);
  iconv_close(converter);
  return Status::ok();
}

Result<std::unique_ptr<InputFile>> decodingInput(std::unique_ptr<InputFile> raw, const std::string& encoding,
                                                 const std::string& path) {
  if (isUtf8Encoding(encoding)) return raw;
  iconv_t converter = iconv_open("UTF-8", encoding.c_str());
  if (!known(converter)) return ado::dataSourceError(path + ": " + unknownEncoding(encoding).message);
  return std::unique_ptr<InputFile>(std::make_unique<DecodingInput>(std::move(raw), converter, encoding, path));
}

}  // namespace quelo
