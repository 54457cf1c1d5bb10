#include "qt/form_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/qt_text.h"

namespace quelo::qt {

FormDialog::FormDialog(forms::Form& form, QWidget* parent)
    : QDialog(parent), view_(new FormView(form, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  layout->setSizeConstraint(view_->resizable() ? QLayout::SetMinimumSize : QLayout::SetFixedSize);
  setObjectName(qs(form.name()));
  setWindowTitle(qs(form.caption()));
}

// The room a window has on its screen, less its title bar and borders.
QSize FormDialog::roomOnScreen() const {
  const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!on) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  return on->availableGeometry().size() - QSize(2 * frame, title + 2 * frame);
}

// A form larger than its screen, even with its lists and grid given way, scrolls; the window is
// never larger than the screen.
void FormDialog::fitToScreen() {
  const QSize room = roomOnScreen();
  auto* box = static_cast<QBoxLayout*>(layout());
  const QSize least = box->minimumSize(), wanted = box->sizeHint().expandedTo(least);
  if (least.width() > room.width() || least.height() > room.height()) {
    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("formScroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    box->removeWidget(view_);
    area->setWidget(view_);
    box->insertWidget(0, area, 1);
    box->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(0, 0);  // the least the form's own layout had set
  }
  resize(wanted.boundedTo(room));
}

void FormDialog::showEvent(QShowEvent* event) {
  if (!fitted_) {
    fitted_ = true;
    fitToScreen();
  }
  QDialog::showEvent(event);
}

void FormDialog::runModal() {
  running_ = true;
  exec();
  running_ = false;
}

void FormDialog::reject() {
  forms::Form* form = view_->form();
  if (!form) return;
  for (forms::FormControl* c : form->controls()) {
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
