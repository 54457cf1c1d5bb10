// The services a host without a window system of its own hands the control (the command line, and
// tests of real waits): the machine's clock, files, mounts, pictures, desktop programs, windows,
// settings and fonts, with recorded message boxes and headless forms. They live here, above the
// forms engine, because headless forms are part of the set.
#pragma once

#include <memory>
#include <string>

#include "component/platform.h"

namespace quelo {

class DefaultServices {
 public:
  virtual ~DefaultServices() = default;
  virtual Platform platform() = 0;
  // Why the settings store could not be used (see SqliteSettingsStore::problem); empty while all
  // went well.
  virtual const std::string& settingsProblem() const = 0;
};

std::unique_ptr<DefaultServices> makeDefaultServices();

}  // namespace quelo
