// Setting up a control at design time in one call: its place (twips), caption and tool tip.
#pragma once

#include <string>

#include "forms/control.h"

namespace quelo::forms {

template <class T>
T& placed(T& control, FormControl::Rect r, std::string caption = {}, std::string toolTip = {}) {
  control.setBounds(r);
  if constexpr (requires { control.setCaption(caption); }) control.setCaption(std::move(caption));
  control.setToolTipText(std::move(toolTip));
  return control;
}

// Puts a control into a frame. Its place is given on the form, as the layouts read best; a
// contained control's place is kept relative to its frame, as the views draw it.
template <class T>
T& inFrame(T& control, const FormControl& frame) {
  const FormControl::Rect on = control.bounds(), f = frame.bounds();
  control.setContainer(frame.name());
  control.setBounds({on.left - f.left, on.top - f.top, on.width, on.height});
  return control;
}

}  // namespace quelo::forms
