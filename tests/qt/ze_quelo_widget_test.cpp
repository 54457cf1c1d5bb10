#include "qt/ze_quelo_widget.h"

#include <sys/stat.h>
#include <varnikquelo/widget.h>

#include <filesystem>
#ifdef QUELO_DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"
#include "qt/about_view.h"
#include "qt/design_time.h"
#include "qt/form_view.h"
#include "qt/property_frame.h"
#include "qt/qobject_dispatch.h"
#include "qt/qt_test_support.h"
#include "ui/maker.h"

namespace quelo::qt {
namespace {

struct WidgetTest : ::testing::Test {
  testing::QtHarness h;
  Platform platform = h.platform();
  QWidget form;
  ZeQueloWidget* widget = new ZeQueloWidget(h.component, &form, true, &platform);
  WidgetTest() {
    widget->setObjectName("ZeQuelo1");
    form.resize(200, 200);
    form.show();
    testing::settle();
  }
  QLabel* label() { return widget->findChild<QLabel*>("Label1"); }
};

TEST_F(WidgetTest, TheFaceIsFixedAt345TwipsWhateverTheHostAsks) {
  const int side = (345 * widget->logicalDpiX() + 720) / 1440;
  EXPECT_EQ(widget->size(), QSize(side, side));
  widget->resize(120, 40);
  EXPECT_EQ(widget->size(), QSize(side, side));
  (new QVBoxLayout(&form))->addWidget(widget);  // a layout cannot stretch it either
  testing::settle();
  EXPECT_EQ(widget->size(), QSize(side, side));
}

TEST_F(WidgetTest, FocusRaisesTheLabelAndClicksComeOutAsASignalUnlessDisabled) {
  auto* other = new QWidget(&form);
  other->setFocusPolicy(Qt::StrongFocus);
  other->show();
  widget->setFocus();
  EXPECT_EQ(label()->text(), " Ze");
  EXPECT_EQ(label()->frameShadow(), QFrame::Sunken);
  other->setFocus();
  EXPECT_EQ(label()->text(), "");
  QSignalSpy clicks(widget, &ZeQueloWidget::clicked);
  QTest::mouseClick(label(), Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  ASSERT_TRUE(widget->dispatch()->put("Enabled", Variant(false)));
  EXPECT_FALSE(widget->isEnabled());
  QTest::mouseClick(label(), Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

// Changes are announced; the timer ticks on the Qt event loop.
TEST_F(WidgetTest, BackColorPaintsTheFaceAndChangesAreAnnouncedAndTheTimerTicks) {
  QSignalSpy announced(widget, &ZeQueloWidget::propertyChanged);
  QSignalSpy ticks(widget, &ZeQueloWidget::zeTimer);
  ASSERT_TRUE(widget->dispatch()->put("BackColor", Variant(int32_t{0x0000FF})));  // 0x00BBGGRR
  EXPECT_EQ(widget->palette().color(QPalette::Window), QColor(255, 0, 0));
  ASSERT_TRUE(widget->dispatch()->put("Tag", Variant("kept")));
  ASSERT_EQ(announced.count(), 2);
  EXPECT_EQ(announced[0][0].toString(), "BackColor");
  EXPECT_EQ(announced[1][0].toString(), "Tag");
  widget->setInterval(1);
  EXPECT_TRUE(ticks.wait(5000));
}

TEST_F(WidgetTest, ReportStatusHandlersAnswerThroughTheirArguments) {
  QObject::connect(widget, &ZeQueloWidget::reportStatus,
                   [](int total, int, int current, bool* cancel, bool* remove, Variant* extra) {
                     *cancel = current == total;
                     *remove = true;
                     *extra = Variant("seen");
                   });
  Args args{Variant(int16_t{3}), Variant(int32_t{9}), Variant(int16_t{3}),
            Variant(false),      Variant(false),      Variant()};
  widget->control().raiseEvent("ReportStatus", 2, args);
  EXPECT_EQ(args[3], Variant(true));
  EXPECT_EQ(args[4], Variant(true));
  EXPECT_EQ(args[5], Variant("seen"));
}

TEST_F(WidgetTest, RunModeIgnoresTheCompanyAndFindsTheHostsControls) {
  widget->setDeveloperCompany("ignored at run time");
  EXPECT_EQ(widget->developerCompany(), "");
  auto* log = new QPlainTextEdit(&form);
  log->setObjectName("txtLog");
  log->setPlainText("first");
  log->show();
  quelo::testing::ScratchDir dir;
  ::mkdir((dir / "Reports").c_str(), 0755);
  std::string app = dir.path();
  widget->control().setApplicationPath(app);
  auto box = widget->control().site().findControl("TXTLOG");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(widget->dispatch()->call("LogMessage", {Variant("second"), Variant(box)}).isOk());
  EXPECT_EQ(log->toPlainText(), "first\nsecond");  // on a new line at the end
  EXPECT_EQ(widget->control().site().findControl("nothing"), nullptr);
}

TEST_F(WidgetTest, TheAboutBoxsMailLabelIsALinkForMouseAndKeys) {
  h.presenter.setDecorator("QueloAbout", decorateAboutBox);
  bool drawnAsLink = false;
  h.presenter.whenShown = [&](forms::Form&, FormDialog& d) {
    auto* mail = qobject_cast<QLabel*>(d.widgetOf("lblZe", 1));
    drawnAsLink = mail->styleSheet().contains("underline") &&
                  mail->cursor().shape() == Qt::PointingHandCursor;
    QTest::mouseClick(mail, Qt::LeftButton);
    mail->setFocus();
    QTest::keyClick(mail, Qt::Key_Space);  // a link is clicked from the keyboard too
    QTest::mouseClick(d.widgetOf("OKButton"), Qt::LeftButton);
  };
  ASSERT_TRUE(widget->dispatch()->call("AboutBox").isOk());
  EXPECT_TRUE(drawnAsLink);
  ASSERT_EQ(h.shell.launches.size(), 2u);  // the click, then the key
  EXPECT_EQ(h.shell.launches[1].target, std::string("mailto:") + maker::kEmail);
}

// The frame shows the page on the control, enables Apply on an edit and adds the colour.
TEST(PropertyFrame, ThePageRoundTripsTheControlsProperties) {
  testing::QtHarness h;
  Platform platform = h.platform();
  ZeQueloWidget control(h.component, nullptr, false, &platform);  // on a form being designed
  control.setTag("before");
  PropertyFrame frame({control.dispatch()}, h.presenter);
  frame.show();
  testing::settle();
  auto* tag = qobject_cast<QLineEdit*>(frame.findChild<FormView*>()->widgetOf("txtTag"));
  QPushButton* apply = frame.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
  EXPECT_EQ(tag->text(), "before");
  EXPECT_FALSE(apply->isEnabled());  // nothing changed yet
  tag->setFocus();
  tag->selectAll();
  QTest::keyClicks(tag, "after");
  EXPECT_TRUE(apply->isEnabled());
  frame.chooseColor(QColor(10, 20, 30));
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(control.tag(), "after");
  EXPECT_EQ(control.backColor(), QColor(10, 20, 30));
  EXPECT_FALSE(apply->isEnabled());
}

// A Qt host passes its own Records in a QVariant and gets the last record set back as Records.
TEST(PublicWidget, ReportsOnRecordsAndItsStatusCancels) {
  using varnikquelo::Value;
  std::vector<std::vector<Value>> rows;
  for (int32_t i = 1; i <= 12; ++i) rows.push_back({Value("Item " + std::to_string(i)), Value(i)});
  const auto stock = varnikquelo::Records::table({{"Name"}, {"Qty", varnikquelo::FieldType::Int32}},
                                                 std::move(rows));
  quelo::testing::ScratchDir app;
  quelo::testing::ScopedEnv env;
  env.set("XDG_CONFIG_HOME", app / "config");
  for (bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    std::filesystem::remove_all(app / "Reports");
    varnikquelo::QueloWidget widget;
    QString error;
    ASSERT_TRUE(widget.setValue("ApplicationPath", QString::fromStdString(app.path()), &error))
        << error.toStdString();
    widget.setMaxRecsPerPage(5);
    int statuses = 0;
    QObject::connect(&widget, &varnikquelo::QueloWidget::reportStatus,
                     [&](int totalPages, int, int, bool* cancelled, bool* deleteOnCancel) {
                       ++statuses;
                       EXPECT_EQ(totalPages, 3);
                       *cancelled = cancel;
                       *deleteOnCancel = cancel;
                     });
    const QVariant result = widget.call(
        "AutoZeReporter",
        {QVariant::fromValue(stock), QString(), QString(), "stock.htm", "Stock", 0}, &error);
    EXPECT_EQ(result, QVariant(true)) << error.toStdString();
    EXPECT_GT(statuses, 0);
    for (const char* page : {"stock1.htm", "stock3.htm"})  // cancelled: every page deleted
      EXPECT_EQ(std::filesystem::exists(app / "Reports/" + page), !cancel) << page;
    EXPECT_EQ(widget.value("CurrentRecordset").metaType(),
              QMetaType::fromType<varnikquelo::Records>());
  }
}

TEST(PublicWidget, AValueOfNoKindIsAnError) {
  varnikquelo::QueloWidget widget;
  QString error;
  EXPECT_FALSE(widget.call("AutoZeReporter", {QVariant(QSize(1, 2))}, &error).isValid());
  EXPECT_EQ(
      error,
      "Type mismatch: argument 1 of AutoZeReporter is a QSize, which the control cannot take");
  EXPECT_FALSE(widget.setValue("Tag", QVariant(QSize(1, 2)), &error));
  EXPECT_EQ(error, "Type mismatch: the value of Tag is a QSize, which the control cannot take");
}

// The designer's plugin: the public widget in design mode, its property pages.
#ifdef QUELO_DESIGNER_PLUGIN
TEST(DesignerPlugin, OffersThePublicWidgetInDesignMode) {
  QPluginLoader loader(QStringLiteral(QUELO_DESIGNER_PLUGIN));
  ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
  auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), "varnikquelo::QueloWidget");
  QWidget form;
  std::unique_ptr<QWidget> widget(plugin->createWidget(&form));
  ASSERT_NE(widget, nullptr);
  // The plugin's library is the installed one, not this test's copy: the class is told by name.
  EXPECT_TRUE(widget->inherits("varnikquelo::QueloWidget"));
  ASSERT_TRUE(widget->setProperty("developerCompany", QStringLiteral(" acme ")));
  EXPECT_EQ(widget->property("developerCompany").toString(), "ACME");
}

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

// The control inside answers to the widget's name, and its Enabled is the widget's.
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
#endif

}  // namespace
}  // namespace quelo::qt
