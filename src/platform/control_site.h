// ControlSite: what the container that hosts a control offers it. The ambient user mode tells
// design mode (false) from run mode (true); property changes are announced under their
// persistence keys; events go out through the site to the host's handlers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "automation/status.h"

namespace quelo {

class ControlSite {
 public:
  virtual ~ControlSite() = default;

  virtual Result<bool> ambientUserMode() = 0;
  virtual Result<std::string> ambientDisplayName() = 0;
  // The host marks its form as changed so that it saves the control later.
  virtual Status propertyChanged(std::string_view key) = 0;
  // A control of the container by name (a host text box, a picture box), or nullptr.
  virtual std::shared_ptr<Dispatch> findControl(std::string_view name) = 0;
  // Raises an event to the host; handlers may change by-reference arguments.
  virtual void fireEvent(std::string_view name, int32_t dispid, Args& args) = 0;
};

}  // namespace quelo
