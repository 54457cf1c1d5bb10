// A desktop without windows: every search finds nothing.
#pragma once

#include "platform/window_system.h"

namespace quelo {

class NoWindowSystem : public WindowSystem {
 public:
  WindowHandle desktop() override { return 0; }
  std::vector<WindowHandle> children(WindowHandle) override { return {}; }
  std::string title(WindowHandle) override { return {}; }
  std::string className(WindowHandle) override { return {}; }
  WindowHandle parent(WindowHandle) override { return 0; }
  std::optional<int32_t> controlId(WindowHandle) override { return std::nullopt; }
  Status activate(WindowHandle) override { return makeError(err::kInvalidProcedureCall, "There are no windows"); }
};

}  // namespace quelo
