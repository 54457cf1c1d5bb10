// Label: a QLabel with the caption as plain text; three-dimensional labels get a sunken panel.
// A label with a Click handler shows the pointing hand, and is reached with Tab and clicked with
// Space or Enter, as a link is.
#include <QKeyEvent>
#include <QLabel>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class LabelBinder : public ControlBinder {
 public:
  LabelBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new QLabel(parent)) {
    auto* label = widgetAs<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (m.onClick) {
      label->setCursor(Qt::PointingHandCursor);
      label->setFocusPolicy(Qt::StrongFocus);
    }
    forwardMouseClicks();
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::Label>();
    auto* label = widgetAs<QLabel>();
    Writing guard(*this);
    if (is(p, P::Caption)) label->setText(qs(m->caption()));
    if (is(p, P::Appearance))
      label->setFrameStyle(m->appearance() ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::KeyPress && model() &&
        widget()->isEnabled() && widget()->focusPolicy() != Qt::NoFocus) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        model()->click();
        return true;
      }
    }
    return ControlBinder::eventFilter(watched, event);
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindLabel(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<LabelBinder>(model, parent);
}

}  // namespace quelo::qt
