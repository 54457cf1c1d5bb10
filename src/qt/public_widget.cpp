#include <varnikquelo/widget.h>

#include <QVBoxLayout>

#include "component/component.h"
#include "data/public_value.h"
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

// A Qt value as the control takes it: a Records is its open record set; a value of a type the
// control has no kind for is an error naming it, never an empty argument.
quelo::Result<quelo::Variant> argumentOf(const QVariant& value, quelo::ZeQuelo& control, const std::string& place) {
  if (value.metaType() == QMetaType::fromType<Records>())
    return quelo::argumentOf(Value(value.value<Records>()), *control.platform().files);
  quelo::Variant v = quelo::qt::fromQVariant(value);
  if (value.isValid() && v.isEmpty())
    return quelo::makeError(quelo::err::kTypeMismatch, std::string("Type mismatch: ") + place + " is a " +
                                                           value.metaType().name() + ", which the control cannot take");
  return v;
}

// A result as Qt values: a record set is a Records.
quelo::Result<QVariant> resultOf(const quelo::Variant& value) {
  if (value.isObject())
    if (auto records = quelo::valueOf(value); records && records.value().kind() == Value::Kind::Records)
      return QVariant::fromValue(records.value().asRecords());
  return quelo::qt::toQVariant(value);
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
  const std::string name = member.toStdString();
  quelo::Args values;
  for (qsizetype i = 0; i < args.size(); ++i) {
    auto v = argumentOf(args[i], impl_->widget->control(), "argument " + std::to_string(i + 1) + " of " + name);
    if (!v) return failed(error, v.error()), QVariant();
    values.push_back(std::move(v).value());
  }
  auto result = impl_->widget->dispatch()->call(name, values);
  if (!result) return failed(error, result.error()), QVariant();
  auto out = resultOf(result.value());
  if (!out) return failed(error, out.error()), QVariant();
  return out.value();
}

QVariant QueloWidget::value(const QString& property, QString* error) {
  auto result = impl_->widget->dispatch()->get(property.toStdString());
  if (!result) return failed(error, result.error()), QVariant();
  auto out = resultOf(result.value());
  if (!out) return failed(error, out.error()), QVariant();
  return out.value();
}

bool QueloWidget::setValue(const QString& property, const QVariant& value, QString* error) {
  const std::string name = property.toStdString();
  auto v = argumentOf(value, impl_->widget->control(), "the value of " + name);
  if (!v) return failed(error, v.error());
  quelo::Status s = impl_->widget->dispatch()->put(name, std::move(v).value());
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
