// With X11, the desktop is the display named by $DISPLAY; without one there are no windows.
#include <cstdlib>

#include "platform/headless/no_window_system.h"
#include "platform/posix/desktop_windows.h"
#include "platform/posix/x11/x11_window_system.h"

namespace quelo {

std::unique_ptr<WindowSystem> openDesktopWindows() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return std::make_unique<NoWindowSystem>();
  return std::make_unique<X11WindowSystem>(name);
}

}  // namespace quelo
