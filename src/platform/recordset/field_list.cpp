#include "platform/recordset/field_list.h"

#include "platform/recordset/ado.h"
#include "platform/text.h"
#include "platform/type_info.h"

namespace quelo {
namespace {

bool isAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

Status FieldList::append(std::string name, int32_t type, int32_t definedSize,
                         std::optional<int32_t> attributes) {
  if (name.empty()) return ado::error(ado::kErrArguments);
  if (indexOf(name)) return ado::error(ado::kErrDuplicateName);
  lowerNames_.push_back(toLower(name));
  fields_.push_back(FieldInfo{std::move(name), type, definedSize,
                              attributes.value_or(ado::appendedAttributes(type))});
  return Status::ok();
}

std::optional<int> FieldList::indexOf(std::string_view name) const {
  // ASCII letter case first: no allocation on the common path.
  for (size_t i = 0; i < fields_.size(); ++i)
    if (equalsIgnoreCase(fields_[i].name, name)) return static_cast<int>(i);
  if (isAscii(name)) return std::nullopt;
  const std::string lower = toLower(name);
  for (size_t i = 0; i < lowerNames_.size(); ++i)
    if (lowerNames_[i] == lower) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace quelo
