// Dispatch: an object reached by name or dispatch id, as automation clients reach the control,
// a host's text box, or a form calling back into the control. Arguments are passed by reference:
// a callee may change them for the caller. An omitted optional argument is Variant::missing().
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "automation/status.h"
#include "automation/variant.h"

namespace quelo {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

using Args = std::vector<Variant>;

class Dispatch {
 public:
  virtual ~Dispatch() = default;

  // The dispatch id of a member (case-insensitive); error 438 when there is none.
  virtual Result<int32_t> idOfName(std::string_view name) const = 0;
  // For PropertyPut the new value is the last argument.
  virtual Result<Variant> invoke(int32_t dispid, InvokeKind kind, Args& args) = 0;

  Result<Variant> invoke(std::string_view name, InvokeKind kind, Args& args);
  Result<Variant> get(std::string_view name);
  Status put(std::string_view name, Variant value);
  Result<Variant> call(std::string_view name, Args& args);
  Result<Variant> call(std::string_view name, std::initializer_list<Variant> byValue = {});
};

Error memberNotFound(std::string_view name);

}  // namespace quelo
