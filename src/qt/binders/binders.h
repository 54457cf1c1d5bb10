// One binder per kind of control; bindControl (control_binder.h) picks the one for a model.
#pragma once

#include <memory>

#include "qt/binders/control_binder.h"

namespace quelo::qt {

// The name of a frame's property that holds its caption with access keys marked by '&'.
inline constexpr char kKeyedCaption[] = "keyedCaption";

std::unique_ptr<ControlBinder> bindLabel(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindTextBox(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindCheckBox(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindOptionButton(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindListBox(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindComboBox(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindCommandButton(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindFrame(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindImage(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDatePicker(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDataGrid(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDriveList(forms::FormControl& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDirList(forms::FormControl& model, QWidget* parent);

}  // namespace quelo::qt
