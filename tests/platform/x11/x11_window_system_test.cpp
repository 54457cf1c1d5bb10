#include "platform/posix/x11/x11_window_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fakes/scoped_env.h"
#include "fakes/xvfb_server.h"
#include "platform/posix/desktop_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

namespace quelo {
namespace {

// A display of the test's own with a few windows made through Xlib, as another program would.
class X11Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    d = XOpenDisplay(xvfb.display().c_str());
    ASSERT_NE(d, nullptr) << "cannot connect to " << xvfb.display();
    root = DefaultRootWindow(d);
    first = makeWindow(root, "QueloTest");
    const std::string title = "quelo-test Premi\u00e8re";  // _NET_WM_NAME in UTF-8
    XChangeProperty(d, first, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    child = makeWindow(first, "QueloChild");
    XStoreName(d, child, "quelo-test child");
    second = makeWindow(root, "QueloTest");  // created last: on top of its siblings
    XStoreName(d, second, "quelo-test Caf\xe9");  // WM_NAME in ISO 8859-1
    XSync(d, False);
  }
  void TearDown() override {
    if (d) XCloseDisplay(d);
  }

  Window makeWindow(Window parent, const char* cls) {
    const Window w = XCreateSimpleWindow(d, parent, 0, 0, 50, 50, 0, 0, 0);
    XClassHint hint{const_cast<char*>("quelo"), const_cast<char*>(cls)};
    XSetClassHint(d, w, &hint);
    return w;
  }
  static WindowHandle h(Window w) { return static_cast<WindowHandle>(w); }

  testing::XvfbServer xvfb;
  Display* d = nullptr;
  Window root = 0, first = 0, child = 0, second = 0;
};

TEST_F(X11Desktop, ReadsTreeTitlesClassesAndParentsOfWindowsThatAreThere) {
  X11WindowSystem windows(xvfb.display());
  ASSERT_TRUE(windows.connected());
  EXPECT_EQ(windows.desktop(), h(root));
  EXPECT_EQ(windows.children(h(root)), (std::vector<WindowHandle>{h(second), h(first)}));
  EXPECT_EQ(windows.title(h(first)), "quelo-test Premi\u00e8re");
  EXPECT_EQ(windows.title(h(second)), "quelo-test Caf\u00e9");
  EXPECT_EQ(windows.className(h(child)), "QueloChild");
  EXPECT_EQ(windows.parent(h(child)), h(first));
  EXPECT_EQ(windows.parent(h(first)), 0u);
  EXPECT_EQ(windows.controlId(h(child)), std::nullopt);

  XRaiseWindow(d, first);
  XSync(d, False);
  EXPECT_EQ(windows.children(h(root)), (std::vector<WindowHandle>{h(first), h(second)}));

  XDestroyWindow(d, second);  // a window that is gone reads as nothing
  XSync(d, False);
  EXPECT_EQ(windows.title(h(second)), "");
  EXPECT_EQ(windows.className(h(second)), "");
  EXPECT_TRUE(windows.children(h(second)).empty());
  EXPECT_EQ(windows.parent(h(second)), 0u);
  EXPECT_EQ(windows.title(h(first)), "quelo-test Premi\u00e8re") << "the connection survives the errors";
}

// The test's connection plays the window manager and receives the activation request.
TEST_F(X11Desktop, ActivationAsksTheWindowManager) {
  XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask);
  XSync(d, False);
  X11WindowSystem windows(xvfb.display());
  ASSERT_TRUE(windows.activate(h(first)).isOk());
  const Atom active = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool asked = false;
  while (!asked && std::chrono::steady_clock::now() < deadline) {
    if (!XPending(d)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    XEvent e;
    XNextEvent(d, &e);
    asked = e.type == ClientMessage && e.xclient.message_type == active && e.xclient.window == first;
  }
  EXPECT_TRUE(asked);

  // The desktop is the display of the session; an unreachable one has no windows.
  testing::ScopedEnv env;
  env.set("DISPLAY", xvfb.display());
  EXPECT_EQ(openDesktopWindows()->desktop(), h(root));
  env.unset("DISPLAY");
  EXPECT_EQ(openDesktopWindows()->desktop(), 0u);
  X11WindowSystem unreachable(":9999");  // has no windows
  EXPECT_FALSE(unreachable.connected());
  EXPECT_EQ(unreachable.desktop(), 0u);
  EXPECT_TRUE(unreachable.children(1).empty());
  EXPECT_FALSE(unreachable.activate(1).isOk());
}

}  // namespace
}  // namespace quelo
