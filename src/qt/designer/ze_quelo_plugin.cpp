#include "qt/designer/ze_quelo_plugin.h"

#include <QPainter>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>

#include "qt/property_frame.h"
#include "qt/qt_platform.h"
#include "qt/ze_quelo_widget.h"

namespace quelo::qt {
namespace {

// The properties the pages edit, as the designer's property sheet names them.
const char* const kEdited[] = {"enabled", "backColor", "doTimer", "interval", "maxRecsPerPage", "tag", "developerCompany"};

}  // namespace

QIcon ZeQueloPlugin::icon() const {
  QPixmap mark(22, 22);
  mark.fill(QColor(0x80, 0xFF, 0xFF));
  QPainter painter(&mark);
  painter.drawText(mark.rect(), Qt::AlignCenter, QStringLiteral("Ze"));
  return QIcon(mark);
}

QWidget* ZeQueloPlugin::createWidget(QWidget* parent) { return new ZeQueloWidget(component_, parent, false); }

void ZeQueloPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (initialized_) return;
  if (QExtensionManager* manager = core->extensionManager())
    manager->registerExtensions(new ZeQueloTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
  initialized_ = true;
}

QString ZeQueloPlugin::domXml() const {
  return QStringLiteral(
      "<ui language=\"c++\">\n"
      " <widget class=\"quelo::qt::ZeQueloWidget\" name=\"ZeQuelo1\"/>\n"
      "</ui>\n");
}

ZeQueloTaskMenu::ZeQueloTaskMenu(ZeQueloWidget* widget, QObject* parent)
    : QObject(parent), widget_(widget), edit_(new QAction(QStringLiteral("Edit Properties..."), this)) {
  connect(edit_, &QAction::triggered, this, &ZeQueloTaskMenu::editProperties);
}

void ZeQueloTaskMenu::editProperties() {
  PropertyFrame frame({widget_->dispatch()}, QtPlatform::instance().presenter, widget_->window());
  frame.exec();
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget_);
  if (!form) return;
  for (const char* name : kEdited) form->cursor()->setWidgetProperty(widget_, QString::fromLatin1(name), widget_->property(name));
}

QObject* ZeQueloTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const {
  auto* widget = qobject_cast<ZeQueloWidget*>(object);
  if (!widget || iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
  return new ZeQueloTaskMenu(widget, parent);
}

}  // namespace quelo::qt
