// A build without X11 reaches no windows.
#include "platform/window_system.h"

namespace quelo {

std::unique_ptr<WindowSystem> openDesktopWindows() { return std::make_unique<NoWindowSystem>(); }

}  // namespace quelo
