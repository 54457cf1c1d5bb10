#include "platform/posix/x11/x11_window_system.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>

#include "automation/text.h"

// Xlib's macros (Status, Bool, True, False) would clash with this system's names: Xlib comes last
// and its Status macro goes as soon as its declarations are read.
#include <X11/Xatom.h>

#include "platform/posix/x11/x11_library.h"

namespace quelo {
namespace {

// Xlib's error handler is one for the whole process and takes no context, so the count it keeps
// is one for the process too: a trap holds the lock for its life, so traps on several threads
// take turns and each reads only its own errors. The count is atomic because Xlib may call the
// handler from any thread that syncs while a trap is set.
std::recursive_mutex trapLock;
std::atomic<int> trappedErrors{0};

// The library's functions; only called once a display is open, which needs the library loaded.
const X11Library& xlib() { return *x11Library(); }

int recordError(Display*, XErrorEvent*) {
  ++trappedErrors;
  return 0;
}

// Catches the X errors of the requests made during its life.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* d) : lock_(trapLock), display_(d), previous_(xlib().XSetErrorHandler(recordError)) {
    trappedErrors = 0;
  }
  ~ErrorTrap() {
    xlib().XSync(display_, False);
    xlib().XSetErrorHandler(previous_);
  }
  bool failed() {
    xlib().XSync(display_, False);
    return trappedErrors > 0;
  }

 private:
  std::lock_guard<std::recursive_mutex> lock_;
  Display* display_;
  XErrorHandler previous_;
};

Window xid(WindowHandle w) { return static_cast<Window>(w); }

struct Tree {
  Window root = 0, parent = 0;
  std::vector<WindowHandle> children;  // bottom first, as the server lists them
};

std::optional<Tree> queryTree(Display* d, WindowHandle w) {
  ErrorTrap trap(d);
  Tree t;
  Window* kids = nullptr;
  unsigned int n = 0;
  const int ok = xlib().XQueryTree(d, xid(w), &t.root, &t.parent, &kids, &n);
  if (kids) {
    t.children.assign(kids, kids + n);
    xlib().XFree(kids);
  }
  if (!ok || trap.failed()) return std::nullopt;
  return t;
}

}  // namespace

X11WindowSystem::X11WindowSystem(std::string displayName) : displayName_(std::move(displayName)) {}

X11WindowSystem::~X11WindowSystem() {
  if (display_) xlib().XCloseDisplay(display_);
}

Display* X11WindowSystem::display() {
  if (tried_) return display_;
  tried_ = true;
  const X11Library* x = x11Library();
  if (!x) return nullptr;
  display_ = x->XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
  if (display_) {
    netWmName_ = xlib().XInternAtom(display_, "_NET_WM_NAME", False);
    utf8String_ = xlib().XInternAtom(display_, "UTF8_STRING", False);
    netActiveWindow_ = xlib().XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  }
  return display_;
}

WindowHandle X11WindowSystem::desktop() {
  Display* d = display();
  return d ? static_cast<WindowHandle>(DefaultRootWindow(d)) : 0;
}

std::vector<WindowHandle> X11WindowSystem::children(WindowHandle window) {
  Display* d = display();
  if (!d || window == 0) return {};
  auto tree = queryTree(d, window);
  if (!tree) return {};
  std::reverse(tree->children.begin(), tree->children.end());
  return tree->children;
}

std::string X11WindowSystem::utf8Property(WindowHandle window, unsigned long property) {
  Display* d = display();
  ErrorTrap trap(d);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int rc = xlib().XGetWindowProperty(d, xid(window), property, 0, LONG_MAX / 4, False,
                                           utf8String_, &type, &format, &items, &remaining, &data);
  std::string value;
  if (rc == Success && data && type == utf8String_ && format == 8) value.assign(reinterpret_cast<char*>(data), items);
  if (data) xlib().XFree(data);
  return trap.failed() ? std::string() : value;
}

std::string X11WindowSystem::legacyName(WindowHandle window) {
  Display* d = display();
  ErrorTrap trap(d);
  XTextProperty prop{};
  std::string value;
  if (xlib().XGetWMName(d, xid(window), &prop) && prop.value) {
    const std::string_view bytes(reinterpret_cast<char*>(prop.value), prop.nitems);
    if (prop.encoding == XA_STRING) {
      value = latin1ToUtf8(bytes);
    } else if (prop.encoding == utf8String_) {
      value = bytes;
    } else {
      char** list = nullptr;
      int count = 0;
      if (xlib().Xutf8TextPropertyToTextList(d, &prop, &list, &count) >= Success && list) {
        if (count > 0 && list[0]) value = list[0];
        xlib().XFreeStringList(list);
      }
    }
  }
  if (prop.value) xlib().XFree(prop.value);
  return trap.failed() ? std::string() : value;
}

std::string X11WindowSystem::title(WindowHandle window) {
  if (!display() || window == 0) return {};
  std::string name = utf8Property(window, netWmName_);
  return name.empty() ? legacyName(window) : name;
}

std::string X11WindowSystem::className(WindowHandle window) {
  Display* d = display();
  if (!d || window == 0) return {};
  ErrorTrap trap(d);
  XClassHint hint{};
  std::string value;
  if (xlib().XGetClassHint(d, xid(window), &hint) && hint.res_class) value = hint.res_class;
  if (hint.res_name) xlib().XFree(hint.res_name);
  if (hint.res_class) xlib().XFree(hint.res_class);
  return trap.failed() ? std::string() : value;
}

WindowHandle X11WindowSystem::parent(WindowHandle window) {
  Display* d = display();
  if (!d || window == 0) return 0;
  auto tree = queryTree(d, window);
  if (!tree || tree->parent == tree->root) return 0;
  return static_cast<WindowHandle>(tree->parent);
}

std::optional<int32_t> X11WindowSystem::controlId(WindowHandle) { return std::nullopt; }

Status X11WindowSystem::activate(WindowHandle window) {
  Display* d = display();
  if (!d) return makeError(err::kInvalidProcedureCall, "No X display");
  ErrorTrap trap(d);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = xid(window);
  e.xclient.message_type = netActiveWindow_;
  e.xclient.format = 32;
  e.xclient.data.l[0] = 1;  // the request comes from an application
  e.xclient.data.l[1] = CurrentTime;
  xlib().XSendEvent(d, DefaultRootWindow(d), False,
                    SubstructureRedirectMask | SubstructureNotifyMask, &e);
  if (trap.failed()) return makeError(err::kInvalidProcedureCall, "The window cannot be activated");
  return Status::ok();
}

}  // namespace quelo
