// The designer loads the plugin and places the public widget on a form in design mode; a form
// designed with it names the public class, and its task menu edits the widget's control.

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "qt/design_time.h"
#include "qt/form_view.h"
#include "qt/property_frame.h"
#include "qt/qt_test_support.h"
#include "qt/ze_quelo_widget.h"

namespace quelo::qt {
namespace {

TEST(DesignerPlugin, OffersThePublicWidgetInDesignMode) {
  QPluginLoader loader(QStringLiteral(QUELO_DESIGNER_PLUGIN));
  ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
  auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), "varnikquelo::QueloWidget");
  EXPECT_EQ(plugin->includeFile(), "<varnikquelo/widget.h>");
  EXPECT_TRUE(plugin->domXml().contains("class=\"varnikquelo::QueloWidget\""));
  QWidget form;
  std::unique_ptr<QWidget> widget(plugin->createWidget(&form));
  ASSERT_NE(widget, nullptr);
  // The plugin's library is the installed one, not this test's copy: the class is told by name.
  EXPECT_TRUE(widget->inherits("varnikquelo::QueloWidget"));
  // Design mode: the company is taken, as on a form being designed.
  ASSERT_TRUE(widget->setProperty("developerCompany", QStringLiteral(" acme ")));
  EXPECT_EQ(widget->property("developerCompany").toString(), "ACME");
}

// The designer's property pages are the control's own page on the widget's control.
TEST(DesignerPlugin, ThePropertyPagesEditTheWidgetsControl) {
  QWidget form;
  varnikquelo::QueloWidget* widget = varnikquelo::design::createWidget(&form);
  std::unique_ptr<QDialog> pages(varnikquelo::design::propertyPages(*widget, &form));
  auto* frame = dynamic_cast<PropertyFrame*>(pages.get());
  ASSERT_NE(frame, nullptr);
  frame->show();
  testing::settle();
  auto* interval = qobject_cast<QLineEdit*>(frame->findChild<FormView*>()->widgetOf("txtInterval"));
  interval->selectAll();
  QTest::keyClicks(interval, "7");
  QPushButton* apply = frame->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(widget->interval(), 7);
}

// A form's generated code names the widget; the control inside answers to that name, and its
// Enabled is the widget's enabled state, as the host sees them.
TEST(DesignerPlugin, TheControlInsideThePublicWidgetIsTheWidgetAsTheHostSeesIt) {
  QWidget form;
  auto* widget = new varnikquelo::QueloWidget(&form);
  widget->setObjectName("Quelo7");
  ZeQueloWidget& inner = *widget->findChild<ZeQueloWidget*>();
  ControlSite& site = inner.control().site();
  EXPECT_EQ(site.ambientDisplayName().valueOr(""), "Quelo7");
  // Looking itself up by name, the control must not find the wrapper, which lacks its members.
  EXPECT_EQ(site.findControl("Quelo7"), nullptr);

  QString error;
  ASSERT_TRUE(widget->setValue("Enabled", false, &error)) << error.toStdString();
  EXPECT_FALSE(widget->isEnabled());
  widget->setEnabled(true);
  EXPECT_EQ(widget->value("Enabled"), QVariant(true));
}

}  // namespace
}  // namespace quelo::qt
