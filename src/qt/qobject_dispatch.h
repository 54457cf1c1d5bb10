// QObjectDispatch: any QObject reached by name, the way the control reaches a host's own
// controls (the file dialog's GraphicOrEditControl, the message log's TextHandlingBox). Its
// members are the object's properties and public invokable methods and slots, found through the
// meta-object without regard to case. Qt's widgets also answer the members of the classic
// controls they stand in for (widget_members.h), so a host can hand in a plain QTextEdit or QLabel.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "automation/dispatch.h"

namespace quelo::qt {

class QObjectDispatch : public Dispatch {
 public:
  explicit QObjectDispatch(QObject* object) : object_(object) {}
  // Null for a null object (Nothing).
  static std::shared_ptr<QObjectDispatch> wrap(QObject* object);
  QObject* object() const { return object_; }

  using Dispatch::invoke;
  Result<int32_t> idOfName(std::string_view name) const override;
  Result<Variant> invoke(int32_t dispid, InvokeKind kind, Args& args) override;

 private:
  Result<Variant> invokeProperty(int index, InvokeKind kind, Args& args);
  Result<Variant> invokeMethod(int index, Args& args);

  QPointer<QObject> object_;  // a widget that is gone answers every call with an error
};

}  // namespace quelo::qt
