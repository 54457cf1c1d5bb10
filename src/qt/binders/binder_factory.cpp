#include "qt/binders/binders.h"

namespace quelo::qt {

std::unique_ptr<ControlBinder> bindControl(forms::FormControl& model, QWidget* parent) {
  using K = forms::ControlKind;
  std::unique_ptr<ControlBinder> b;
  switch (model.kind()) {
    case K::Label:
      b = bindLabel(model, parent);
      break;
    case K::TextBox:
      b = bindTextBox(model, parent);
      break;
    case K::CheckBox:
      b = bindCheckBox(model, parent);
      break;
    case K::OptionButton:
      b = bindOptionButton(model, parent);
      break;
    case K::ListBox:
    case K::FileListBox:
      b = bindListBox(model, parent);
      break;
    case K::ComboBox:
      b = bindComboBox(model, parent);
      break;
    case K::CommandButton:
      b = bindCommandButton(model, parent);
      break;
    case K::Frame:
      b = bindFrame(model, parent);
      break;
    case K::Image:
      b = bindImage(model, parent);
      break;
    case K::DatePicker:
      b = bindDatePicker(model, parent);
      break;
    case K::DataGrid:
      b = bindDataGrid(model, parent);
      break;
    case K::DriveListBox:
      b = bindDriveList(model, parent);
      break;
    case K::DirListBox:
      b = bindDirList(model, parent);
      break;
  }
  b->sync();
  return b;
}

}  // namespace quelo::qt
