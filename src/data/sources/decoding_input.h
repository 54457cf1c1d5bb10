// DecodingInput: a file in another text encoding (WINDOWS-1252, ISO-8859-15, UTF-16 ...) read as
// UTF-8, through the C library's iconv. A byte that is no character of the encoding, or a file
// that ends inside a character, fails the read with an Error naming the file and the line.
#pragma once

#include <memory>
#include <string>

#include "automation/status.h"
#include "platform/file_system.h"

namespace quelo {

// True for the names that mean UTF-8 itself ("UTF-8", "utf8"), which need no decoding.
bool isUtf8Encoding(const std::string& encoding);

// An Error naming the encoding when iconv does not know it.
Status checkEncoding(const std::string& encoding);

// `raw` read through the encoding; `path` names the file in errors.
Result<std::unique_ptr<InputFile>> decodingInput(std::unique_ptr<InputFile> raw, const std::string& encoding,
                                                 const std::string& path);

}  // namespace quelo
