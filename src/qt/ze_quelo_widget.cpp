#include "qt/ze_quelo_widget.h"

#include <QApplication>
#include <QLabel>

#include "automation/property_bag.h"
#include "automation/text.h"
#include "control/type_library.h"
#include "qt/qobject_dispatch.h"
#include "qt/qt_platform.h"
#include "qt/qt_text.h"

namespace quelo::qt {

// The container side: user mode, name, announcements, the host form's controls, events.
class ZeQueloWidget::Site : public ControlSite {
 public:
  explicit Site(ZeQueloWidget& w) : w_(w) {}
  Result<bool> ambientUserMode() override { return w_.userMode_; }
  Result<std::string> ambientDisplayName() override {
    const QString name = w_.host()->objectName();
    return name.isEmpty() ? std::string("ZeQuelo1") : utf8(name);
  }
  Status propertyChanged(std::string_view key) override {
    emit w_.propertyChanged(qs(key));
    return Status::ok();
  }
  std::shared_ptr<Dispatch> findControl(std::string_view name) override {
    for (QWidget* child : w_.window()->findChildren<QWidget*>())
      if (child != &w_ && child != w_.host() && equalsIgnoreCase(utf8(child->objectName()), name))
        return QObjectDispatch::wrap(child);
    return nullptr;
  }
  void fireEvent(std::string_view, int32_t id, Args& args) override {
    if (id == dispid::kZeTimer) emit w_.zeTimer();
    else if (id == dispid::kClick) emit w_.clicked();
    else if (id == dispid::kReportStatus && args.size() == 6) reportStatus(args);
  }

 private:
  void reportStatus(Args& a) {
    const auto number = [](const Variant& v) { return toLong(v).valueOr(0); };
    bool cancel = toBool(a[3]).valueOr(false), remove = toBool(a[4]).valueOr(false);
    Variant extra = a[5];
    emit w_.reportStatus(number(a[0]), number(a[1]), number(a[2]), &cancel, &remove, &extra);
    a[3] = Variant(cancel);
    a[4] = Variant(remove);
    a[5] = std::move(extra);
  }
  ZeQueloWidget& w_;
};

// The control's own window: the widget.
class ZeQueloWidget::Window : public ControlWindow {
 public:
  explicit Window(ZeQueloWidget& w) : w_(w) {}
  Result<uint32_t> backColor() override { return w_.color_; }
  Status setBackColor(uint32_t color) override {
    w_.color_ = color;
    w_.paintBackColor();
    return Status::ok();
  }
  Result<bool> enabled() override { return w_.isEnabled(); }
  Status setEnabled(bool on) override {
    w_.host()->setEnabled(on);
    return Status::ok();
  }
  SizeTwips size() override {
    const int dpi = w_.logicalDpiX();
    return {static_cast<int32_t>((w_.width() * 1440 + dpi / 2) / dpi), static_cast<int32_t>((w_.height() * 1440 + dpi / 2) / dpi)};
  }
  Status setSize(SizeTwips s) override {
    w_.setFixedSize(twipsToPixels(s.width, &w_), twipsToPixels(s.height, &w_));
    return Status::ok();
  }
  int32_t handle() override { return static_cast<int32_t>(w_.winId()); }

 private:
  ZeQueloWidget& w_;
};

ZeQueloWidget::ZeQueloWidget(std::shared_ptr<Component> component, QWidget* parent, bool userMode,
                             const Platform* platform)
    : QWidget(parent), userMode_(userMode), site_(std::make_unique<Site>(*this)), window_(std::make_unique<Window>(*this)) {
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  setFixedSize(fixedSize());
  control_ = ZeQuelo::create(std::move(component), platform ? *platform : QtPlatform::instance().platform(), *site_,
                             *window_);
  forms::Label& label1 = control_->label1();
  label_ = bindControl(label1, this);
  label1.onClick = [this] { control_->labelClicked(); };
  label_->widget()->setAttribute(Qt::WA_TranslucentBackground);
  control_->initProperties();
  paintBackColor();
  ownTheControlsDialogs();
}

// The control's forms and message boxes belong to the window the control sits on: the one last
// shown or activated, when several hold a control of the same platform.
void ZeQueloWidget::ownTheControlsDialogs() {
  const Platform& platform = control_->platform();
  if (auto* presenter = dynamic_cast<QtFormPresenter*>(platform.presenter)) presenter->setParentWindow(this);
  if (auto* box = dynamic_cast<QtMessageBox*>(platform.messageBox)) box->setParentWindow(this);
}

void ZeQueloWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ownTheControlsDialogs();
}

void ZeQueloWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ownTheControlsDialogs();
}

ZeQueloWidget::~ZeQueloWidget() {
  label_.reset();
  control_->label1().onClick = nullptr;
  control_->terminate();
  control_.reset();
}

QSize ZeQueloWidget::fixedSize() const {
  const int side = twipsToPixels(ZeQuelo::kSizeTwips, this);
  return {side, side};
}

QSize ZeQueloWidget::sizeHint() const { return fixedSize(); }

QColor ZeQueloWidget::backColor() const { return toQColor(color_); }

void ZeQueloWidget::paintBackColor() {
  QPalette p = palette();
  p.setColor(QPalette::Window, toQColor(color_));
  setPalette(p);
}

Status ZeQueloWidget::loadProperties(const QString& file) {
  auto bag = FilePropertyBag::load(utf8(file));
  if (!bag) return bag.error();
  control_->readProperties(bag.value());
  return Status::ok();
}

Status ZeQueloWidget::saveProperties(const QString& file) {
  FilePropertyBag bag;
  control_->writeProperties(bag);
  return bag.save(utf8(file));
}

void ZeQueloWidget::setBackColor(const QColor& c) { (void)control_->setBackColor(fromQColor(c)); }

void ZeQueloWidget::setMaxRecsPerPage(int records) { control_->setMaxRecsPerPage(records); }

QString ZeQueloWidget::tag() const { return qs(control_->tag()); }
void ZeQueloWidget::setTag(const QString& tag) { control_->setTag(utf8(tag)); }
QString ZeQueloWidget::developerCompany() const { return qs(control_->developerCompany()); }
void ZeQueloWidget::setDeveloperCompany(const QString& company) { control_->setDeveloperCompany(utf8(company)); }

void ZeQueloWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  control_->resized();
}

void ZeQueloWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  control_->gotFocus();
}

void ZeQueloWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  control_->lostFocus();
}

}  // namespace quelo::qt
