#include "qt/qt_form_presenter.h"

#include <QTimer>

#include "forms/form.h"
#include "qt/dialog_owner.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

// Whether `window` is `dialog` or one of the windows it owns.
bool owns(const QWidget& dialog, const QWidget* window) {
  for (; window; window = window->parentWidget())
    if (window == &dialog) return true;
  return false;
}

}  // namespace

QtFormPresenter::QtFormPresenter() : self_(std::make_shared<QtFormPresenter*>(this)) {}

QtFormPresenter::~QtFormPresenter() {
  for (auto& [form, dialog] : dialogs_)
    if (dialog) {
      dialog->view().detach();
      delete dialog.data();
    }
}

void QtFormPresenter::setDecorator(std::string formName, Decorator decorator) {
  decorators_[std::move(formName)] = std::move(decorator);
}

FormDialog* QtFormPresenter::dialogOf(const forms::Form& form) const {
  auto it = dialogs_.find(&form);
  return it == dialogs_.end() ? nullptr : it->second.data();
}

FormDialog* QtFormPresenter::dialogFor(forms::Form& form) {
  QWidget* opener = dialogOwner(parent_);
  if (FormDialog* existing = dialogOf(form)) {
    // A hidden dialog moves to the window that opens it now, unless that window is its own.
    if (!existing->isVisible() && existing->parentWidget() != opener && !owns(*existing, opener))
      existing->setParent(opener, existing->windowFlags());
    return existing;
  }
  auto* dialog = new FormDialog(form, opener);
  dialogs_[&form] = dialog;
  if (auto it = decorators_.find(form.name()); it != decorators_.end()) it->second(*dialog);
  // The dialog follows the form's caption and focus for as long as both exist.
  QPointer<FormDialog> target(dialog);
  form.addListener([target](forms::Form& f, forms::FormEvent event) {
    if (!target || !target->view().form()) return;
    if (event == forms::FormEvent::Caption) target->setWindowTitle(qs(f.caption()));
    target->view().formEvent(event);
  });
  return dialog;
}

void QtFormPresenter::show(forms::Form& form, bool modal) {
  FormDialog* dialog = dialogFor(form);
  dialog->setWindowTitle(qs(form.caption()));
  dialog->setModal(modal);
  form.activate();
  if (!form.visible() || !dialog->view().form()) return;  // the activation closed it already
  if (!modal) {
    dialog->show();
    return;
  }
  QPointer<FormDialog> guard(dialog);
  if (whenShown) {
    std::weak_ptr<QtFormPresenter*> presenter = self_;
    QTimer::singleShot(0, dialog, [presenter, guard, &form] {
      auto p = presenter.lock();
      if (p && guard && guard->view().form() && (*p)->whenShown) (*p)->whenShown(form, *guard);
    });
  }
  dialog->runModal();
  // Unloaded while it ran: the dialog's last event has been handled, so it can go now.
  if (guard && !guard->view().form()) delete guard.data();
}

void QtFormPresenter::hide(forms::Form& form) {
  if (FormDialog* dialog = dialogOf(form)) dialog->done(QDialog::Rejected);
}

void QtFormPresenter::unloaded(forms::Form& form) {
  auto it = dialogs_.find(&form);
  if (it == dialogs_.end()) return;
  QPointer<FormDialog> dialog = it->second;
  dialogs_.erase(it);
  if (!dialog) return;
  dialog->view().detach();
  dialog->hide();
  if (!dialog->running()) dialog->deleteLater();
}

}  // namespace quelo::qt
