// WindowSystem: the desktop's windows as a tree, for the search of windows by title and class.
// Handles are 32-bit numbers; 0 is no window. The X11 backend serves a desktop with a display;
// NoWindowSystem stands in where there is none (no display, or a build without X11).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/status.h"

namespace quelo {

using WindowHandle = uint32_t;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The desktop window, root of all others; 0 when there are no windows to reach.
  virtual WindowHandle desktop() = 0;
  // The children of a window in stacking order, topmost first; none for an unknown window.
  virtual std::vector<WindowHandle> children(WindowHandle window) = 0;
  // Title and class name in UTF-8; empty when the window has none or is gone.
  virtual std::string title(WindowHandle window) = 0;
  virtual std::string className(WindowHandle window) = 0;
  // The parent of a child window; 0 for a top-level window (a child of the desktop).
  virtual WindowHandle parent(WindowHandle window) = 0;
  // The control identifier of a child window, where the system gives its windows one.
  virtual std::optional<int32_t> controlId(WindowHandle window) = 0;
  // Asks for the window to become the foreground window.
  virtual Status activate(WindowHandle window) = 0;
};

}  // namespace quelo
