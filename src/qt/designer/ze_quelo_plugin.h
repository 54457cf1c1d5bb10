// The control in the designer: the widget box entry (a ZeQueloWidget in design mode, so its
// ApplicationPath and DeveloperCompany behave as on a form being designed) and a task menu with
// "Edit Properties...", which opens the control's property pages; what they apply goes to the
// designer's property sheet, so it is saved with the form.
#pragma once

#include <QAction>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

#include "component/component.h"

namespace quelo::qt {

class ZeQueloWidget;

class ZeQueloPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit ZeQueloPlugin(QObject* parent = nullptr) : QObject(parent) {}
  QString name() const override { return QStringLiteral("quelo::qt::ZeQueloWidget"); }
  QString group() const override { return QStringLiteral("VarnikQuelo"); }
  QString toolTip() const override { return QStringLiteral("ZeQuelo: timer, file dialog, hyperlinks, reports"); }
  QString whatsThis() const override { return toolTip(); }
  QString includeFile() const override { return QStringLiteral("qt/ze_quelo_widget.h"); }
  QIcon icon() const override;
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override { return initialized_; }
  void initialize(QDesignerFormEditorInterface* core) override;
  QString domXml() const override;

 private:
  bool initialized_ = false;
  // What the designer's controls share; they all live on its GUI thread.
  std::shared_ptr<Component> component_ = std::make_shared<Component>();
};

class ZeQueloTaskMenu : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  ZeQueloTaskMenu(ZeQueloWidget* widget, QObject* parent);
  QAction* preferredEditAction() const override { return edit_; }
  QList<QAction*> taskActions() const override { return {edit_}; }

 private:
  void editProperties();
  ZeQueloWidget* widget_;
  QAction* edit_;
};

class ZeQueloTaskMenuFactory : public QExtensionFactory {
  Q_OBJECT

 public:
  using QExtensionFactory::QExtensionFactory;

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace quelo::qt
