// The designer loads the plugin and places the control on a form in design mode.
#include <gtest/gtest.h>

#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "qt/ze_quelo_widget.h"

namespace quelo::qt {
namespace {

TEST(DesignerPlugin, CreatesTheControlInDesignMode) {
  QPluginLoader loader(QStringLiteral(QUELO_DESIGNER_PLUGIN));
  ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
  auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), "quelo::qt::ZeQueloWidget");
  EXPECT_TRUE(plugin->domXml().contains("class=\"quelo::qt::ZeQueloWidget\""));
  QWidget form;
  std::unique_ptr<QWidget> widget(plugin->createWidget(&form));
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->metaObject()->className(), std::string("quelo::qt::ZeQueloWidget"));
  // Design mode: the company is taken, as on a form being designed.
  ASSERT_TRUE(widget->setProperty("developerCompany", QStringLiteral(" acme ")));
  EXPECT_EQ(widget->property("developerCompany").toString(), "ACME");
}

}  // namespace
}  // namespace quelo::qt
