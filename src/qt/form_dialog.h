// FormDialog: a form shown as a real dialog. Its caption follows the form's; the close box asks
// the form to unload (which it may refuse); Escape presses the form's Cancel button, or
// acts as the close box when it has none. A form whose view can use more room is resizable.
#pragma once

#include <QDialog>

#include "qt/form_view.h"

namespace quelo::qt {

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FormDialog(forms::Form& form, QWidget* parent = nullptr);
  FormView& view() const { return *view_; }
  // The widget of a control of the form ("Name" or "Name(i)").
  QWidget* widgetOf(std::string_view name, int index = -1) const { return view_->widgetOf(name, index); }
  bool running() const { return running_; }
  // Shows the dialog modally; returns when the form hides or unloads.
  void runModal();
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  FormView* view_;
  bool running_ = false;
};

}  // namespace quelo::qt
