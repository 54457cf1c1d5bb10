// QtFormPresenter: forms shown as real dialogs. A modal show runs the dialog's own event loop
// and returns when the form hides or unloads; a hidden form keeps its dialog for the next show;
// an unloaded form's dialog goes. The form is activated each time it is shown. A form opened while
// a modal dialog runs belongs to that dialog, else to the parent window.
#pragma once

#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "forms/form_presenter.h"
#include "qt/form_dialog.h"

namespace quelo::qt {

class QtFormPresenter : public forms::FormPresenter {
 public:
  QtFormPresenter();
  ~QtFormPresenter() override;

  void show(forms::Form& form, bool modal) override;
  void hide(forms::Form& form) override;
  void unloaded(forms::Form& form) override;

  // Gives a form its particular looks once its dialog is built (by the form's name).
  using Decorator = std::function<void(FormDialog&)>;
  void setDecorator(std::string formName, Decorator decorator);
  // The window of `widget` owns the dialogs that no modal dialog opens (may be none).
  void setParentWindow(QWidget* widget) { parent_ = widget; }
  // The dialog that shows a form now, or null.
  FormDialog* dialogOf(const forms::Form& form) const;
  // Called once a modal dialog is on the screen and its event loop runs (tests act there).
  std::function<void(forms::Form&, FormDialog&)> whenShown;

 private:
  FormDialog* dialogFor(forms::Form& form);

  std::map<const forms::Form*, QPointer<FormDialog>> dialogs_;
  std::map<std::string, Decorator> decorators_;
  QPointer<QWidget> parent_;
  std::shared_ptr<QtFormPresenter*> self_;  // forms that outlive the presenter find it gone
};

}  // namespace quelo::qt
