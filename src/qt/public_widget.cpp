#include <varnikquelo/widget.h>

#include <QVBoxLayout>

#include "component/component.h"
#include "qt/variant_qt.h"
#include "qt/ze_quelo_widget.h"

namespace varnikquelo {

using quelo::qt::ZeQueloWidget;

struct QueloWidget::Impl {
  ZeQueloWidget* widget;
};

namespace {

bool failed(QString* error, const quelo::Error& e) {
  if (error) *error = QString::fromStdString(e.message);
  return false;
}

}  // namespace

// Each public widget has a component of its own: its forms and report settings are not shared
// with other widgets.
QueloWidget::QueloWidget(QWidget* parent)
    : QWidget(parent), impl_(new Impl{new ZeQueloWidget(std::make_shared<quelo::Component>(), this)}) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(impl_->widget);
  ZeQueloWidget* w = impl_->widget;
  w->setHostWidget(this);
  connect(w, &ZeQueloWidget::zeTimer, this, &QueloWidget::zeTimer);
  connect(w, &ZeQueloWidget::clicked, this, &QueloWidget::clicked);
  connect(w, &ZeQueloWidget::propertyChanged, this, &QueloWidget::propertyChanged);
  connect(w, &ZeQueloWidget::reportStatus, this,
          [this](int total, int elapsed, int page, bool* cancel, bool* deleteOnCancel, quelo::Variant*) {
            emit reportStatus(total, elapsed, page, cancel, deleteOnCancel);
          });
}

QueloWidget::~QueloWidget() = default;

QVariant QueloWidget::call(const QString& member, const QVariantList& args, QString* error) {
  quelo::Args values;
  for (const QVariant& a : args) values.push_back(quelo::qt::fromQVariant(a));
  auto result = impl_->widget->dispatch()->call(member.toStdString(), values);
  if (!result) return failed(error, result.error()), QVariant();
  auto out = quelo::qt::toQVariant(result.value());
  if (!out) return failed(error, out.error()), QVariant();
  return out.value();
}

QVariant QueloWidget::value(const QString& property, QString* error) {
  auto result = impl_->widget->dispatch()->get(property.toStdString());
  if (!result) return failed(error, result.error()), QVariant();
  auto out = quelo::qt::toQVariant(result.value());
  if (!out) return failed(error, out.error()), QVariant();
  return out.value();
}

bool QueloWidget::setValue(const QString& property, const QVariant& value, QString* error) {
  quelo::Status s = impl_->widget->dispatch()->put(property.toStdString(), quelo::qt::fromQVariant(value));
  return s ? true : failed(error, s.error());
}

bool QueloWidget::loadProperties(const QString& file, QString* error) {
  quelo::Status s = impl_->widget->loadProperties(file);
  return s ? true : failed(error, s.error());
}

bool QueloWidget::saveProperties(const QString& file, QString* error) {
  quelo::Status s = impl_->widget->saveProperties(file);
  return s ? true : failed(error, s.error());
}

QColor QueloWidget::backColor() const { return impl_->widget->backColor(); }
void QueloWidget::setBackColor(const QColor& color) { impl_->widget->setBackColor(color); }
bool QueloWidget::doTimer() const { return impl_->widget->doTimer(); }
void QueloWidget::setDoTimer(bool on) { impl_->widget->setDoTimer(on); }
int QueloWidget::interval() const { return impl_->widget->interval(); }
void QueloWidget::setInterval(int ticks) { impl_->widget->setInterval(ticks); }
int QueloWidget::maxRecsPerPage() const { return impl_->widget->maxRecsPerPage(); }
void QueloWidget::setMaxRecsPerPage(int records) { impl_->widget->setMaxRecsPerPage(records); }
QString QueloWidget::tag() const { return impl_->widget->tag(); }
void QueloWidget::setTag(const QString& tag) { impl_->widget->setTag(tag); }
QString QueloWidget::developerCompany() const { return impl_->widget->developerCompany(); }
void QueloWidget::setDeveloperCompany(const QString& company) { impl_->widget->setDeveloperCompany(company); }

QSize QueloWidget::sizeHint() const { return impl_->widget->sizeHint(); }

}  // namespace varnikquelo
