// The fields of a record set: their order, names, ADO type codes, defined sizes and attribute
// bits. Names are unique and found case-insensitively (every letter, not only ASCII).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct FieldInfo {
  std::string name;
  int32_t type = 0;         // ado::DataType
  int32_t definedSize = 0;  // characters for text, bytes otherwise
  int32_t attributes = 0;   // ado::FieldAttribute bits
};

class FieldList {
 public:
  // Appends a field; without attributes it gets ado::appendedAttributes of its type. A name
  // already present (in any letter case) or an empty name is refused.
  Status append(std::string name, int32_t type, int32_t definedSize,
                std::optional<int32_t> attributes = std::nullopt);

  int count() const { return static_cast<int>(fields_.size()); }
  // REQUIRES: 0 <= index < count().
  const FieldInfo& operator[](int index) const { return fields_[index]; }
  const std::vector<FieldInfo>& all() const { return fields_; }
  // The position of a field by name, ignoring letter case; none when there is no such field.
  std::optional<int> indexOf(std::string_view name) const;

 private:
  std::vector<FieldInfo> fields_;
  // Each field's position by its lower-case name: finding a name takes the same time however
  // many fields there are (a CSV file may have tens of thousands).
  std::unordered_map<std::string, int> positions_;
};

}  // namespace quelo
