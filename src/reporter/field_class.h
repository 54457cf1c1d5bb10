// FieldClass: the short word that says how the reporter treats a field's values ("number",
// "text", "date", "boolean", "hyperlink" or "others"), from the field's ADO attribute bits and
// data type code. Pure: no state, never fails.
#pragma once

#include <cstdint>
#include <string_view>

namespace quelo {

struct FieldInfo;

// The attribute value is compared whole, not bit by bit; the type code decides, and the
// attribute value only where the type leaves it open (long Unicode text, unlisted codes).
std::string_view FieldClass(int16_t attributes, int16_t type);

// FieldClass of a record-set field. Attribute sets that do not fit 16 bits (the key-column bit
// and above) match none of the listed values, so their attribute class is "others".
std::string_view FieldClass(const FieldInfo& field);

}  // namespace quelo
