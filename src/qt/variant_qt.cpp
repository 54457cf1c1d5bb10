#include "qt/variant_qt.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cmath>

#include "platform/picture.h"
#include "qt/qobject_dispatch.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

const QDateTime kEpoch(QDate(1899, 12, 30), QTime(0, 0));
constexpr double kMsPerDay = 86'400'000.0;

Error mismatch() { return makeError(err::kTypeMismatch, "Type mismatch"); }

// The value as Qt would hold it without a target.
QVariant natural(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean: return v.asBool();
    case VarType::Integer: return static_cast<int>(v.asInteger());
    case VarType::Long: return v.asLong();
    case VarType::LongLong: return static_cast<qlonglong>(v.asLongLong());
    case VarType::Double: return v.asDouble();
    case VarType::Date: return dateTimeOf(v.asDate());
    case VarType::String: return qs(v.asString());
    case VarType::Object:
      if (auto* q = dynamic_cast<QObjectDispatch*>(v.asObject().get())) return QVariant::fromValue(q->object());
      return {};
    default: return {};
  }
}

// A picture object's file, for the picture-like Qt types.
std::optional<QString> picturePath(const Variant& v) {
  if (!v.isObject()) return std::nullopt;
  auto* p = dynamic_cast<Picture*>(v.asObject().get());
  if (!p) return std::nullopt;
  return qs(p->path());
}

}  // namespace

QDateTime dateTimeOf(Date d) { return kEpoch.addMSecs(static_cast<qint64>(std::llround(d.serial * kMsPerDay))); }

Date dateOf(const QDateTime& t) { return Date{static_cast<double>(kEpoch.msecsTo(t)) / kMsPerDay}; }

Result<QVariant> toQVariant(const Variant& v, QMetaType target) {
  const int id = target.id();
  if (!target.isValid() || id == QMetaType::QVariant) return natural(v);
  if (id == QMetaType::QPixmap || id == QMetaType::QImage || id == QMetaType::QIcon) {
    auto path = picturePath(v);
    if (!path) return mismatch();
    if (id == QMetaType::QImage) return QVariant(path->isEmpty() ? QImage() : QImage(*path));
    const QPixmap pixmap = path->isEmpty() ? QPixmap() : QPixmap(*path);
    return id == QMetaType::QIcon ? QVariant(QIcon(pixmap)) : QVariant(pixmap);
  }
  if (id == QMetaType::QString) {
    auto s = toString(v);
    if (!s) return s.error();
    return QVariant(qs(s.value()));
  }
  if (id == QMetaType::Bool) {
    auto b = toBool(v);
    if (!b) return b.error();
    return QVariant(b.value());
  }
  if (id == QMetaType::QColor) {
    auto c = toLong(v);
    if (!c) return c.error();
    return QVariant(toQColor(static_cast<uint32_t>(c.value())));
  }
  if (id == QMetaType::QDateTime || id == QMetaType::QDate) {
    auto d = toDate(v);
    if (!d) return d.error();
    const QDateTime t = dateTimeOf(d.value());
    return id == QMetaType::QDate ? QVariant(t.date()) : QVariant(t);
  }
  QVariant value = natural(v);
  if (v.isString() && (id == QMetaType::Int || id == QMetaType::Double || id == QMetaType::LongLong)) {
    auto d = toDouble(v);  // the automation number grammar, not Qt's
    if (!d) return d.error();
    value = d.value();
  }
  if (!value.isValid() || !value.convert(target)) return mismatch();
  return value;
}

Variant fromQVariant(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::UnknownType: return Variant();
    case QMetaType::Bool: return Variant(v.toBool());
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::Char:
    case QMetaType::UChar: return Variant(static_cast<int32_t>(v.toInt()));
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return Variant(static_cast<int64_t>(v.toLongLong()));
    case QMetaType::Float:
    case QMetaType::Double: return Variant(v.toDouble());
    case QMetaType::QDate: return Variant(dateOf(QDateTime(v.toDate(), QTime(0, 0))));
    case QMetaType::QDateTime: return Variant(dateOf(v.toDateTime()));
    case QMetaType::QColor: return Variant(static_cast<int32_t>(fromQColor(v.value<QColor>())));
    case QMetaType::QObjectStar: return Variant(std::shared_ptr<Dispatch>(QObjectDispatch::wrap(v.value<QObject*>())));
    default: break;
  }
  if (v.metaType().flags() & QMetaType::PointerToQObject)
    return Variant(std::shared_ptr<Dispatch>(QObjectDispatch::wrap(v.value<QObject*>())));
  if (v.canConvert<QString>()) return Variant(utf8(v.toString()));
  return Variant();
}

}  // namespace quelo::qt
