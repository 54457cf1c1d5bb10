// A build without X11 reaches no windows.
#include "platform/headless/no_window_system.h"
#include "platform/posix/desktop_windows.h"

namespace quelo {

std::unique_ptr<WindowSystem> openDesktopWindows() { return std::make_unique<NoWindowSystem>(); }

}  // namespace quelo
