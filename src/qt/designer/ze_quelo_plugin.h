// The control in the designer: the widget box entry (the public widget, varnikquelo::QueloWidget
// of <varnikquelo/widget.h>, so that a form's generated code builds against the installed library;
// in design mode, so its ApplicationPath and DeveloperCompany behave as on a form being designed)
// and a task menu with "Edit Properties...", which opens the control's property pages; what they
// apply goes to the designer's property sheet, so it is saved with the form.
#pragma once

#include <QAction>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace varnikquelo {
class QueloWidget;
}

namespace quelo::qt {

class ZeQueloPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit ZeQueloPlugin(QObject* parent = nullptr) : QObject(parent) {}
  QString name() const override { return QStringLiteral("varnikquelo::QueloWidget"); }
  QString group() const override { return QStringLiteral("VarnikQuelo"); }
  QString toolTip() const override { return QStringLiteral("ZeQuelo: timer, file dialog, hyperlinks, reports"); }
  QString whatsThis() const override { return toolTip(); }
  QString includeFile() const override { return QStringLiteral("<varnikquelo/widget.h>"); }
  QIcon icon() const override;
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override { return initialized_; }
  void initialize(QDesignerFormEditorInterface* core) override;
  QString domXml() const override;

 private:
  bool initialized_ = false;
};

class ZeQueloTaskMenu : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  ZeQueloTaskMenu(varnikquelo::QueloWidget* widget, QObject* parent);
  QAction* preferredEditAction() const override { return edit_; }
  QList<QAction*> taskActions() const override { return {edit_}; }

 private:
  void editProperties();
  varnikquelo::QueloWidget* widget_;
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
