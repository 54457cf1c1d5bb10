// ControlWindow: the control's own window in its host (background colour, enabled state, size in
// twips, handle). Each call may fail; the control passes such failures on where it must.
#pragma once

#include <cstdint>

#include "automation/status.h"

namespace quelo {

struct SizeTwips {
  int32_t width = 0, height = 0;
  bool operator==(const SizeTwips&) const = default;
};

class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  virtual Result<uint32_t> backColor() = 0;  // 0x00BBGGRR
  virtual Status setBackColor(uint32_t color) = 0;
  virtual Result<bool> enabled() = 0;
  virtual Status setEnabled(bool on) = 0;
  virtual SizeTwips size() = 0;
  virtual Status setSize(SizeTwips size) = 0;
  virtual int32_t handle() = 0;
};

}  // namespace quelo
