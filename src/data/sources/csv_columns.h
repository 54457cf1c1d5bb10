// The type of a CSV column, inferred from all of its values.
#pragma once

#include <cstdint>
#include <string>

#include "data/sources/csv_reader.h"
#include "data/recordset/field_list.h"

namespace quelo {

class CsvColumnGuess {
 public:
  void see(const CsvField& value);
  // The field with its ADO type, defined size and attributes. A column without any value is
  // short text.
  FieldInfo field(std::string name) const;

 private:
  bool any_ = false;
  bool whole_ = true, wide_ = false, decimal_ = true, date_ = true, boolean_ = true;
  bool longText_ = false;
  int64_t maxCharacters_ = 0;
};

}  // namespace quelo
