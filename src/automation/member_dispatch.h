// MemberDispatch: a Dispatch whose members are handlers bound by name. With a type library the
// members, ids and parameters come from it and every call is checked against it (argument count,
// omitted optional arguments with their defaults, coercion to the declared types, by-reference
// write-back); without one, members are added as they are bound and take arguments as given.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "automation/dispatch.h"
#include "automation/type_info.h"

namespace quelo {

class MemberDispatch : public Dispatch {
 public:
  using Handler = std::function<Result<Variant>(Args&)>;

  explicit MemberDispatch(const TypeLibraryInfo* library = nullptr) : library_(library) {}

  // Binds a handler; a name not in the type library gets an id of its own.
  void bind(std::string_view name, InvokeKind kind, Handler handler);
  // With a type library, where the handlers and the library disagree: a member the library
  // declares that no handler serves (a method, a readable property's get, a writable one's put),
  // or a handler the library declares no member for. Empty when they agree.
  std::vector<std::string> disagreements() const;

  using Dispatch::invoke;
  Result<int32_t> idOfName(std::string_view name) const override;
  Result<Variant> invoke(int32_t dispid, InvokeKind kind, Args& args) override;

 private:
  Result<Variant> invokeChecked(const MemberInfo& m, const Handler& h, InvokeKind kind, Args& args);

  const TypeLibraryInfo* library_;
  std::map<std::pair<int32_t, InvokeKind>, Handler> handlers_;
  std::vector<std::pair<std::string, int32_t>> ownNames_;
  int32_t nextOwnId_ = 1000;
};

}  // namespace quelo
