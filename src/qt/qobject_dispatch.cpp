#include "qt/qobject_dispatch.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <array>

#include "automation/text.h"
#include "qt/variant_qt.h"
#include "qt/widget_members.h"

namespace quelo::qt {
namespace {

// Ids: the classic widget members keep their own small ids; meta-object members are offset.
constexpr int32_t kPropertyBase = 1000;
constexpr int32_t kMethodBase = 100000;

bool callable(const QMetaMethod& m) {
  return m.access() == QMetaMethod::Public &&
         (m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot);
}

Error gone() { return makeError(err::kObjectRequired, "Object required"); }

}  // namespace

std::shared_ptr<QObjectDispatch> QObjectDispatch::wrap(QObject* object) {
  return object ? std::make_shared<QObjectDispatch>(object) : nullptr;
}

Result<int32_t> QObjectDispatch::idOfName(std::string_view name) const {
  if (!object_) return gone();
  if (auto id = widgetMemberId(object_, name)) return *id;
  const QMetaObject* meta = object_->metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i)
    if (equalsIgnoreCase(meta->property(i).name(), name)) return kPropertyBase + i;
  for (int i = 0; i < meta->methodCount(); ++i)
    if (callable(meta->method(i)) && equalsIgnoreCase(meta->method(i).name().toStdString(), name))
      return kMethodBase + i;
  return memberNotFound(name);
}

Result<Variant> QObjectDispatch::invoke(int32_t dispid, InvokeKind kind, Args& args) {
  if (!object_) return gone();
  if (dispid >= kMethodBase) {
    // Overloads: the first public one with as many parameters as there are arguments.
    const QMetaMethod first = object_->metaObject()->method(dispid - kMethodBase);
    const QMetaObject* meta = object_->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
      const QMetaMethod m = meta->method(i);
      if (callable(m) && m.name() == first.name() && m.parameterCount() == static_cast<int>(args.size()))
        return invokeMethod(i, args);
    }
    return makeError(err::kWrongArgumentCount, "Wrong number of arguments or invalid property assignment");
  }
  if (dispid >= kPropertyBase) return invokeProperty(dispid - kPropertyBase, kind, args);
  return invokeWidgetMember(object_, dispid, kind, args);
}

Result<Variant> QObjectDispatch::invokeProperty(int index, InvokeKind kind, Args& args) {
  const QMetaProperty p = object_->metaObject()->property(index);
  if (kind == InvokeKind::PropertyGet || (kind == InvokeKind::Method && args.empty())) {
    if (!p.isReadable()) return makeError(err::kMemberNotFound, "Property is write-only");
    return fromQVariant(p.read(object_));
  }
  if (kind != InvokeKind::PropertyPut || args.empty()) return memberNotFound(p.name());
  auto value = toQVariant(args.back(), p.metaType());
  if (!value) return value.error();
  if (!p.isWritable() || !p.write(object_, value.value()))
    return makeError(err::kMemberNotFound, std::string("Cannot set property ") + p.name());
  return Variant();
}

Result<Variant> QObjectDispatch::invokeMethod(int index, Args& args) {
  const QMetaMethod m = object_->metaObject()->method(index);
  if (args.size() > 10) return makeError(err::kWrongArgumentCount, "Too many arguments");
  std::array<QVariant, 10> values;
  std::array<QGenericArgument, 10> generic;
  for (size_t i = 0; i < args.size(); ++i) {
    const QMetaType type = m.parameterMetaType(static_cast<int>(i));
    auto v = toQVariant(args[i], type);
    if (!v) return v.error();
    values[i] = std::move(v).value();
    generic[i] = type.id() == QMetaType::QVariant ? QGenericArgument("QVariant", &values[i])
                                                  : QGenericArgument(type.name(), values[i].constData());
  }
  QVariant result;
  QGenericReturnArgument ret;
  if (m.returnMetaType().isValid() && m.returnMetaType().id() != QMetaType::Void) {
    result = QVariant(m.returnMetaType());
    ret = QGenericReturnArgument(m.returnMetaType().name(), result.data());
  }
  if (!m.invoke(object_, Qt::DirectConnection, ret, generic[0], generic[1], generic[2], generic[3], generic[4],
                generic[5], generic[6], generic[7], generic[8], generic[9]))
    return makeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
  if (result.metaType().id() == QMetaType::QVariant) return fromQVariant(result.value<QVariant>());
  return fromQVariant(result);
}

}  // namespace quelo::qt
