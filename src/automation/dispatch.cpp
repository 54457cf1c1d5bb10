#include "automation/dispatch.h"

#include <string>

namespace quelo {

Error memberNotFound(std::string_view name) {
  return makeError(err::kMemberNotFound, "Object doesn't support this property or method: " + std::string(name));
}

Result<Variant> Dispatch::invoke(std::string_view name, InvokeKind kind, Args& args) {
  auto id = idOfName(name);
  if (!id) return id.error();
  return invoke(id.value(), kind, args);
}

Result<Variant> Dispatch::get(std::string_view name) {
  Args none;
  return invoke(name, InvokeKind::PropertyGet, none);
}

Status Dispatch::put(std::string_view name, Variant value) {
  Args args{std::move(value)};
  return invoke(name, InvokeKind::PropertyPut, args).status();
}

Result<Variant> Dispatch::call(std::string_view name, Args& args) { return invoke(name, InvokeKind::Method, args); }

Result<Variant> Dispatch::call(std::string_view name, std::initializer_list<Variant> byValue) {
  Args args(byValue);
  return call(name, args);
}

}  // namespace quelo
