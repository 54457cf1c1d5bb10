// libX11, loaded when the desktop's windows are first needed. Linked in, it and xcb would load at
// the start of every run of every program, a command-line report's too.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

namespace quelo {

#define QUELO_X11_FUNCTIONS(X)                                                                    \
  X(XCloseDisplay) X(XFree) X(XFreeStringList) X(XGetClassHint) X(XGetWMName)                     \
  X(XGetWindowProperty) X(XInternAtom) X(XOpenDisplay) X(XQueryTree) X(XSendEvent)                \
  X(XSetErrorHandler) X(XSync) X(Xutf8TextPropertyToTextList)

// The library's functions used here, under their own names.
struct X11Library {
#define QUELO_X11_MEMBER(name) decltype(&::name) name = nullptr;
  QUELO_X11_FUNCTIONS(QUELO_X11_MEMBER)
#undef QUELO_X11_MEMBER
};

// The library, loaded once per process; null when it cannot be loaded.
const X11Library* x11Library();

}  // namespace quelo
