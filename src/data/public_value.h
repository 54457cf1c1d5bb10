// The public Value and the control's Variant, one into the other.
#pragma once

#include <varnikquelo/value.h>

#include "automation/variant.h"
#include "platform/file_system.h"

namespace quelo {

// A value of a record or of an argument that is no record set; a Records value is a type mismatch.
Result<Variant> variantOf(const varnikquelo::Value& value);
// An argument of a member: a Records value becomes its open record set, read through `files`.
Result<Variant> argumentOf(const varnikquelo::Value& value, FileSystem& files);
// A result or a by-reference argument: a record set becomes a Records handle on it, Nothing and an
// omitted argument Empty; an Integer becomes an Int32. Any other object or an array has no public
// form: a type mismatch.
Result<varnikquelo::Value> valueOf(const Variant& v);

}  // namespace quelo
