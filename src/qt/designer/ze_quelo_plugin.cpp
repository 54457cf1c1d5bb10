#include "qt/designer/ze_quelo_plugin.h"

#include <QDialog>
#include <QPainter>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>
#include <memory>

#include "qt/design_time.h"

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

QWidget* ZeQueloPlugin::createWidget(QWidget* parent) { return varnikquelo::design::createWidget(parent); }

void ZeQueloPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (initialized_) return;
  if (QExtensionManager* manager = core->extensionManager())
    manager->registerExtensions(new ZeQueloTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
  initialized_ = true;
}

QString ZeQueloPlugin::domXml() const {
  return QStringLiteral(
      "<ui language=\"c++\">\n"
      " <widget class=\"varnikquelo::QueloWidget\" name=\"ZeQuelo1\"/>\n"
      "</ui>\n");
}

ZeQueloTaskMenu::ZeQueloTaskMenu(varnikquelo::QueloWidget* widget, QObject* parent)
    : QObject(parent), widget_(widget), edit_(new QAction(QStringLiteral("Edit Properties..."), this)) {
  connect(edit_, &QAction::triggered, this, &ZeQueloTaskMenu::editProperties);
}

void ZeQueloTaskMenu::editProperties() {
  std::unique_ptr<QDialog> pages(varnikquelo::design::propertyPages(*widget_, widget_->window()));
  pages->exec();
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget_);
  if (!form) return;
  for (const char* name : kEdited) form->cursor()->setWidgetProperty(widget_, QString::fromLatin1(name), widget_->property(name));
}

QObject* ZeQueloTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const {
  auto* widget = qobject_cast<varnikquelo::QueloWidget*>(object);
  if (!widget || iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
  return new ZeQueloTaskMenu(widget, parent);
}

}  // namespace quelo::qt
