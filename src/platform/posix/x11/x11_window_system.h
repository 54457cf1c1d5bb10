// The windows of an X display. The root window is the desktop; children come from XQueryTree in
// stacking order (reversed to topmost first); the title is _NET_WM_NAME, else WM_NAME; the class
// is the class part of WM_CLASS; a window whose parent is the root is top-level. X has no control
// identifiers. Activation asks the window manager through _NET_ACTIVE_WINDOW.
//
// X errors (a window that vanished between two calls) are caught around each call and read as
// "nothing there"; they never reach the process's own error handler.
#pragma once

#include <string>

#include "platform/window_system.h"

struct _XDisplay;

namespace quelo {

class X11WindowSystem : public WindowSystem {
 public:
  // The display of that name ("" means $DISPLAY), connected on first use.
  explicit X11WindowSystem(std::string displayName = {});
  ~X11WindowSystem() override;
  X11WindowSystem(const X11WindowSystem&) = delete;
  X11WindowSystem& operator=(const X11WindowSystem&) = delete;

  // Whether the display can be reached (connects when not yet connected).
  bool connected() { return display() != nullptr; }

  WindowHandle desktop() override;
  std::vector<WindowHandle> children(WindowHandle window) override;
  std::string title(WindowHandle window) override;
  std::string className(WindowHandle window) override;
  WindowHandle parent(WindowHandle window) override;
  std::optional<int32_t> controlId(WindowHandle window) override;
  Status activate(WindowHandle window) override;

 private:
  _XDisplay* display();
  std::string utf8Property(WindowHandle window, unsigned long property);
  std::string legacyName(WindowHandle window);

  std::string displayName_;
  _XDisplay* display_ = nullptr;
  bool tried_ = false;
  unsigned long netWmName_ = 0, utf8String_ = 0, netActiveWindow_ = 0;
};

}  // namespace quelo
