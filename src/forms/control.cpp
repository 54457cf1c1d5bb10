#include "forms/control.h"

#include "forms/form.h"

namespace quelo::forms {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {}

void Control::setFocus() {
  if (enabled_ && visible_) form_.focus(this);
}

bool Control::hasFocus() const { return form_.activeControl() == this; }

void Control::keyDown(int& keyCode, int shift) {
  if (form_.keyPreview()) form_.formKeyDown(keyCode, shift);
  if (keyCode != 0 && onKeyDown) onKeyDown(keyCode, shift);
}

void Control::keyPress(int& keyAscii) {
  if (form_.keyPreview()) form_.formKeyPress(keyAscii);
  if (keyAscii != 0 && onKeyPress) onKeyPress(keyAscii);
}

void Control::changed(Property property) {
  for (const ChangeListener& l : listeners_) l(*this, property);
}

}  // namespace quelo::forms
