// FormDialog: a form shown as a real dialog. Its caption follows the form's; the close box asks
// the form to unload (which it may refuse); Escape presses the form's Cancel button, or
// acts as the close box when it has none. A form whose view can use more room is resizable. The
// window fits the screen it opens on: a form too large for it scrolls.
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
  void showEvent(QShowEvent* event) override;

 private:
  QSize roomOnScreen() const;
  void fitToScreen();

  FormView* view_;
  bool running_ = false;
  bool fitted_ = false;
};

}  // namespace quelo::qt
