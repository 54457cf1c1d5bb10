#include "qt/binders/control_binder.h"

#include <QEvent>
#include <QMouseEvent>
#include <cmath>

#include "qt/qt_text.h"

namespace quelo::qt {

ControlBinder::ControlBinder(forms::FormControl& model, QWidget* widget)
    : model_(&model), widget_(widget) {
  widget->setObjectName(qs(
      model.index() < 0 ? model.name() : model.name() + "(" + std::to_string(model.index()) + ")"));
  QPointer<ControlBinder> self(this);
  model.addChangeListener([self](forms::FormControl&, forms::Property property) {
    // A change the binder itself is making (the user's edit on its way in) does not bounce back.
    if (self && self->model_ && self->widget_ && !self->writing_) self->update(property);
  });
}

ControlBinder::~ControlBinder() = default;

void ControlBinder::update(std::optional<P> p) {
  forms::FormControl& m = *model_;
  QWidget* w = widget_;
  Writing guard(*this);
  if (is(p, P::Enabled)) w->setEnabled(m.enabled());
  if (is(p, P::Visible)) w->setHidden(!m.visible());
  if (is(p, P::ToolTipText)) w->setToolTip(qs(m.toolTipText()));
  if (is(p, P::FontName) && !m.fontName().empty()) {
    QFont font;  // only the family is the control's own: its size follows its window's font
    font.setFamily(qs(m.fontName()));
    w->setFont(font);
  }
  if (is(p, P::Bounds)) {
    const auto& b = m.bounds();
    const auto at = [](int32_t twips, const QWidget* w, double scale) {
      return std::lround(twipsToPixels(twips, w) * scale);
    };
    const int left = at(b.left, w, scale_.x()), top = at(b.top, w, scale_.y());
    w->setGeometry(left, top, at(b.left + b.width, w, scale_.x()) - left,
                   at(b.top + b.height, w, scale_.y()) - top);
  }
}

void ControlBinder::forwardMouseClicks() {
  if (forwardClicks_) return;
  forwardClicks_ = true;
  widget_->installEventFilter(this);
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && model_ && widget_->isEnabled()) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && mouse->button() == Qt::LeftButton) {
      if (event->type() == QEvent::MouseButtonRelease &&
          widget_->rect().contains(mouse->position().toPoint()))
        model_->click();
      else if (event->type() == QEvent::MouseButtonDblClick)
        model_->dblClick();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quelo::qt
