// One binder per kind of control; bindControl (control_binder.h) picks the one for a model.
#pragma once

#include <memory>

#include "qt/binders/control_binder.h"

namespace quelo::qt {

// The name of a frame's property that holds its caption with access keys marked by '&'.
inline constexpr char kKeyedCaption[] = "keyedCaption";

std::unique_ptr<ControlBinder> bindLabel(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindTextBox(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindCheckBox(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindOptionButton(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindListBox(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindComboBox(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindCommandButton(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindFrame(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindImage(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDatePicker(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDataGrid(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDriveList(forms::Control& model, QWidget* parent);
std::unique_ptr<ControlBinder> bindDirList(forms::Control& model, QWidget* parent);

}  // namespace quelo::qt
