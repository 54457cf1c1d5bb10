// Record sets from a CSV file (RFC 4180, UTF-8 or the encoding named): the first line names the fields, every other
// line is a record with as many fields. Each column's type is inferred from all its values:
// whole numbers give adInteger (adBigInt beyond 32 bits), other numbers adDouble, ISO dates or
// date-times adDBTimeStamp, true/false adBoolean, anything else text (adVarWChar, or
// adLongVarWChar when a value is longer than 255 characters or holds two "#"). An empty field
// without quotes is Null; "" is an empty text. The file is read twice per run (once to infer the
// types, once for the rows), so a forward-only record set over it holds one row at a time. A file
// that cannot be read twice (standard input as /dev/stdin, a FIFO, a device: one whose size reads
// 0) is read once, into memory, and every run reads that copy.
#pragma once

#include <memory>
#include <string>

#include "data/recordset/row_source.h"
#include "data/sources/csv_reader.h"
#include "platform/file_system.h"

namespace quelo {

// The file, written as `format` says, read through `files`, which outlives the source.
std::shared_ptr<RowSource> csvFile(FileSystem& files, std::string path, CsvFormat format = {});

}  // namespace quelo
