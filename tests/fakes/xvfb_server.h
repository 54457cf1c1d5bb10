// An Xvfb server of the test's own, on a display number that the server picks free itself
// (-displayfd), stopped when the object goes. Construction throws when Xvfb cannot be started
// (not installed, or no display reported in time): the test fails, it never skips.
#pragma once

#include <sys/types.h>

#include <string>

namespace quelo::testing {

class XvfbServer {
 public:
  // `screen` is the screen's width x height x depth.
  explicit XvfbServer(const std::string& screen = "1024x768x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // The display name, such as ":12".
  const std::string& display() const { return display_; }

 private:
  void stop();

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace quelo::testing
