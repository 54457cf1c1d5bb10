// fieldClass: the class that says how the reporter treats a field's values (number, text, date,
// boolean, hyperlink or others), from the field's ADO attribute bits and data type code. Pure: no
// state, never fails.
#pragma once

#include <cstdint>

namespace quelo {

struct FieldInfo;

enum class FieldKind { Number, Text, Date, Boolean, Hyperlink, Others };

// The attribute value is compared whole, not bit by bit; the type code decides, and the
// attribute value only where the type leaves it open (long Unicode text, unlisted codes).
FieldKind fieldClass(int16_t attributes, int16_t type);

// fieldClass of a record-set field. Attribute sets that do not fit 16 bits (the key-column bit
// and above) match none of the listed values, so their attribute class is Others.
FieldKind fieldClass(const FieldInfo& field);

}  // namespace quelo
