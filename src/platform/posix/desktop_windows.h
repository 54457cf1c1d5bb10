// The windows of this session's desktop.
#pragma once

#include <memory>

#include "platform/window_system.h"

namespace quelo {

// The windows of this session's desktop: the X display named by $DISPLAY when the build has X11
// (connected on first use; no windows when it cannot be reached), otherwise no windows.
std::unique_ptr<WindowSystem> openDesktopWindows();

}  // namespace quelo
