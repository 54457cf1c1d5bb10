#include "qt/form_dialog.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "qt/qt_text.h"

namespace quelo::qt {

FormDialog::FormDialog(forms::Form& form, QWidget* parent) : QDialog(parent), view_(new FormView(form, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  layout->setSizeConstraint(view_->resizable() ? QLayout::SetMinimumSize : QLayout::SetFixedSize);
  setObjectName(qs(form.name()));
  setWindowTitle(qs(form.caption()));
}

void FormDialog::runModal() {
  running_ = true;
  exec();
  running_ = false;
}

void FormDialog::reject() {
  forms::Form* form = view_->form();
  if (!form) return;
  for (forms::Control* c : form->controls()) {
    auto* button = dynamic_cast<forms::CommandButton*>(c);
    if (button && button->isCancel()) {
      button->press();
      return;
    }
  }
  // A form without a Cancel button closes on Escape as from its close box.
  form->closeByUser();
}

void FormDialog::closeEvent(QCloseEvent* event) {
  forms::Form* form = view_->form();
  if (!form) return;  // nothing of the form is left: the dialog may go
  event->ignore();    // the form decides; if it unloads, the dialog goes with it
  form->closeByUser();
}

}  // namespace quelo::qt
