#include "qt/form_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <algorithm>
#include <map>

#include "automation/text.h"
#include "automation/type_info.h"
#include "qt/form_fit.h"
#include "qt/key_codes.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

constexpr int kMarginPixels = 8;
constexpr int kLeastElasticLines = 4;  // a list or grid short of room keeps as many lines

QWidget* largestElastic(const std::vector<std::pair<QPointer<QWidget>, QRect>>& placed) {
  QWidget* largest = nullptr;
  qint64 area = 0;
  for (const auto& [w, r] : placed)
    if (growsDown(w) && qint64(r.width()) * r.height() > area)
      largest = w, area = qint64(r.width()) * r.height();
  return largest;
}

// Characters a KeyPress sees: printable ones, Backspace, Enter and Escape (not Tab or Delete).
bool pressable(int c) {
  return c >= 32 ? c != 127 : c == 8 || c == 13 || c == 27;
}

}  // namespace

FormView::FormView(forms::Form& form, QWidget* parent) : QWidget(parent), form_(&form) {
  build();
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

// The widgets' own destruction moves the focus: the view must not hear of it any more.
FormView::~FormView() {
  disconnect(focusWatch_);
  form_ = nullptr;
  binders_.clear();
}

void FormView::build() {
  const std::vector<forms::FormControl*> controls = form_->controls();
  std::map<std::string, QWidget*> frames;
  const auto parentOf = [&](const forms::FormControl& c) -> QWidget* {
    auto it = frames.find(toLower(c.container()));
    return it == frames.end() ? this : it->second;
  };
  // Frames first, so that the controls they hold can be placed inside them.
  for (forms::FormControl* c : controls) {
    if (c->kind() != forms::ControlKind::Frame) continue;
    binders_.push_back(bindControl(*c, parentOf(*c)));
    frames[toLower(c->name())] = binders_.back()->widget();
  }
  for (forms::FormControl* c : controls)
    if (c->kind() != forms::ControlKind::Frame) binders_.push_back(bindControl(*c, parentOf(*c)));

  std::vector<QWidget*> widgets;
  const QPointF scale = fontScale(*this);
  for (auto& b : binders_) {
    b->setScale(scale);
    widgets.push_back(b->widget());
    b->widget()->installEventFilter(this);
    for (QWidget* child : b->widget()->findChildren<QWidget*>()) child->installEventFilter(this);
  }
  fitToText(*this, widgets);
  for (QWidget* w : widgets)
    if (w->parentWidget() == this) {
      const QRect g = w->geometry();
      extent_ =
          extent_.expandedTo(QSize(g.right() + 1 + kMarginPixels, g.bottom() + 1 + kMarginPixels));
      placed_.emplace_back(w, g);
    }
  const std::vector<QWidget*> tabOrder = readingOrder(*this, widgets);
  for (size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  elastic_ = largestElastic(placed_);
  if (elastic_) squeeze_ = AcrossSqueeze(*this, widgets);
  setMinimumSize(extent_ - QSize(squeeze_.most(), give()));
}

// How much shorter than its design the largest list or grid may become: down to a few lines.
int FormView::give() const {
  if (!elastic_) return 0;
  const int least = kLeastElasticLines * elastic_->fontMetrics().lineSpacing();
  for (const auto& [w, r] : placed_)
    if (w == elastic_) return std::max(0, r.height() - least);
  return 0;
}

bool FormView::resizable() const {
  return elastic_ != nullptr;
}

// The form's extra room goes to its largest list, grid or text area: what stands wholly right of
// (below) its middle moves on, and what crosses that line grows if it is a box that can use it.
// Short of room, the same boxes give way in height first: what stands below moves up; across,
// the lists, grids and boxes of each row narrow.
void FormView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!elastic_) return;
  const int dw = std::max(0, width() - extent_.width()),
            dh = std::max(-give(), height() - extent_.height());
  const int narrower = std::max(0, extent_.width() - width());
  QRect middle;
  for (const auto& [w, r] : placed_)
    if (w == elastic_) middle = r;
  const int x = middle.center().x(), y = middle.center().y();
  for (const auto& [w, r] : placed_) {
    if (!w) continue;
    QRect g = squeeze_.across(w, r, narrower);
    if (r.left() > x)
      g.translate(dw, 0);
    else if (r.right() > x && growsAcross(w))
      g.setWidth(g.width() + dw);
    if (r.top() > y)
      g.translate(0, dh);
    else if (r.bottom() > y && growsDown(w))
      g.setHeight(
          std::max(r.height() + dh,
                   std::min(r.height(), kLeastElasticLines * w->fontMetrics().lineSpacing())));
    w->setGeometry(g);
  }
  squeeze_.layInside(narrower);
}

void FormView::detach() {
  form_ = nullptr;
  for (auto& b : binders_) b->detach();
}

void FormView::formEvent(forms::FormEvent event) {
  if (form_ && event == forms::FormEvent::Focus) focusFromModel();
}

QWidget* FormView::widgetOf(std::string_view name, int index) const {
  const std::string key =
      index < 0 ? std::string(name) : std::string(name) + "(" + std::to_string(index) + ")";
  for (const auto& b : binders_)
    if (b->widget() && equalsIgnoreCase(utf8(b->widget()->objectName()), key)) return b->widget();
  return nullptr;
}

forms::FormControl* FormView::controlOf(QObject* object) const {
  for (auto* w = qobject_cast<QWidget*>(object); w && w != this; w = w->parentWidget())
    for (const auto& b : binders_)
      if (b->widget() == w) return b->model();
  return nullptr;
}

ControlBinder* FormView::binderOf(const forms::FormControl* control) const {
  for (const auto& b : binders_)
    if (b->model() == control) return b.get();
  return nullptr;
}

void FormView::onFocusChanged(QWidget* now) {
  if (!form_) return;
  forms::FormControl* c = controlOf(now);
  if (!c) return;
  c->setFocus();
  // A control that refused to let the focus go (Validate) keeps it.
  if (form_ && form_->activeControl() != c) focusFromModel();
}

void FormView::focusFromModel() {
  ControlBinder* b = binderOf(form_->activeControl());
  if (!b || !b->widget()) return;
  QWidget* focused = QApplication::focusWidget();
  if (focused && (focused == b->widget() || b->widget()->isAncestorOf(focused))) return;
  b->widget()->setFocus(Qt::OtherFocusReason);
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !form_ || replaying_)
    return QWidget::eventFilter(watched, event);
  forms::FormControl* c = controlOf(watched);
  // A key its control left alone travels on to the frame around it: frames take no keys.
  if (!c || c->kind() == forms::ControlKind::Frame) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  return keyDown(*c, key) || keyPress(*c, key, watched);
}

// True when the key goes no further: swallowed, or the form is gone.
bool FormView::keyDown(forms::FormControl& control, QKeyEvent* event) {
  int code = classicKeyCode(event->key());
  if (code == 0) return false;
  control.keyDown(code, classicShift(event->modifiers()));
  return code == 0 || !form_;
}

bool FormView::keyPress(forms::FormControl& control, QKeyEvent* event, QObject* target) {
  if (event->text().size() != 1 || !pressable(event->text()[0].unicode())) return false;
  const int typed = event->text()[0].unicode();
  int ascii = typed;
  control.keyPress(ascii);
  if (ascii == 0 || !form_) return true;
  if (ascii == typed) return false;
  // The handler chose another character: that one is typed instead.
  QKeyEvent replacement(QEvent::KeyPress, event->key(), event->modifiers(), QString(QChar(ascii)));
  replaying_ = true;
  QCoreApplication::sendEvent(target, &replacement);
  replaying_ = false;
  return true;
}

}  // namespace quelo::qt
