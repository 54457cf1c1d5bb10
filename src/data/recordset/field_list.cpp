#include "data/recordset/field_list.h"

#include "data/recordset/ado.h"
#include "automation/text.h"
#include "automation/type_info.h"

namespace quelo {

Status FieldList::append(std::string name, int32_t type, int32_t definedSize,
                         std::optional<int32_t> attributes) {
  if (name.empty()) return ado::error(ado::kErrArguments);
  if (!positions_.try_emplace(toLower(name), count()).second) return ado::error(ado::kErrDuplicateName);
  fields_.push_back(FieldInfo{std::move(name), type, definedSize,
                              attributes.value_or(ado::appendedAttributes(type))});
  return Status::ok();
}

std::optional<int> FieldList::indexOf(std::string_view name) const {
  const auto found = positions_.find(toLower(name));
  if (found == positions_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quelo
