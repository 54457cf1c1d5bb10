#include "forms/control.h"

#include "forms/form.h"

namespace quelo::forms {

FormControl::FormControl(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {}

void FormControl::setFocus() {
  if (enabled_ && visible_) form_.focus(this);
}

bool FormControl::hasFocus() const {
  return form_.activeControl() == this;
}

void FormControl::keyDown(int& keyCode, int shift) {
  if (form_.keyPreview()) form_.formKeyDown(keyCode, shift);
  if (keyCode != 0 && onKeyDown) onKeyDown(keyCode, shift);
}

void FormControl::keyPress(int& keyAscii) {
  if (form_.keyPreview()) form_.formKeyPress(keyAscii);
  if (keyAscii != 0 && onKeyPress) onKeyPress(keyAscii);
}

void FormControl::changed(Property property) {
  for (const ChangeListener& l : listeners_) l(*this, property);
}

}  // namespace quelo::forms
