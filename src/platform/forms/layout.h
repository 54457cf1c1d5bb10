// Setting up a control at design time in one call: its place (twips), caption and tool tip.
#pragma once

#include <string>

#include "platform/forms/control.h"

namespace quelo::forms {

template <class T>
T& placed(T& control, Control::Rect r, std::string caption = {}, std::string toolTip = {}) {
  control.setBounds(r);
  if constexpr (requires { control.setCaption(caption); }) control.setCaption(std::move(caption));
  control.setToolTipText(std::move(toolTip));
  return control;
}

}  // namespace quelo::forms
