#include "qt/ze_quelo_widget.h"

#include <sys/stat.h>
#include <varnikquelo/widget.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <filesystem>

#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"
#include "qt/about_view.h"
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
  auto* layout = new QVBoxLayout(&form);  // a layout cannot stretch it either
  layout->addWidget(widget);
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
  EXPECT_EQ(label()->frameShape(), QFrame::NoFrame);
  QSignalSpy clicks(widget, &ZeQueloWidget::clicked);
  QTest::mouseClick(label(), Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  ASSERT_TRUE(widget->dispatch()->put("Enabled", Variant(false)));
  EXPECT_FALSE(widget->isEnabled());
  QTest::mouseClick(label(), Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(WidgetTest, BackColorPaintsTheFaceAndChangesAreAnnounced) {
  QSignalSpy announced(widget, &ZeQueloWidget::propertyChanged);
  ASSERT_TRUE(
      widget->dispatch()->put("BackColor", Variant(int32_t{0x0000FF})));  // red in 0x00BBGGRR
  EXPECT_EQ(widget->palette().color(QPalette::Window), QColor(255, 0, 0));
  ASSERT_TRUE(widget->dispatch()->put("Tag", Variant("kept")));
  ASSERT_EQ(announced.count(), 2);
  EXPECT_EQ(announced[0][0].toString(), "BackColor");
  EXPECT_EQ(announced[1][0].toString(), "Tag");
}

TEST_F(WidgetTest, TheTimerTicksOnTheQtEventLoop) {
  QSignalSpy ticks(widget, &ZeQueloWidget::zeTimer);
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

// (The designer plugin's test sees design mode take the company.)
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
  EXPECT_NE(dir.read("Reports/Log/ZeMessages.htm").find("second"), std::string::npos);
  EXPECT_EQ(widget->control().site().findControl("nothing"), nullptr);
}

// The mail label is drawn as a link and opens the mail program from the mouse and the keyboard.
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
    QTest::mouseClick(qobject_cast<QPushButton*>(d.widgetOf("OKButton")), Qt::LeftButton);
  };
  ASSERT_TRUE(widget->dispatch()->call("AboutBox").isOk());
  EXPECT_TRUE(drawnAsLink);
  ASSERT_EQ(h.shell.launches.size(), 2u);
  for (const auto& launch : h.shell.launches) {
    EXPECT_EQ(launch.kind, "mail");
    EXPECT_EQ(launch.target, std::string("mailto:") + maker::kEmail);
  }
}

// What the page itself does is the page's own test; the frame shows it on the control, enables
// Apply on an edit and adds the colour.
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

// A Qt host reports through the public widget on its own Records: the record set goes into call()
// in a QVariant, reportStatus is emitted as the pages are written and cancels the report, and the
// last record set comes back as Records.
using varnikquelo::Records;
using varnikquelo::Value;

Records stock() {
  std::vector<std::vector<Value>> rows;
  for (int32_t i = 1; i <= 12; ++i) rows.push_back({Value("Item " + std::to_string(i)), Value(i)});
  return Records::table({{"Name"}, {"Qty", varnikquelo::FieldType::Int32}}, std::move(rows));
}

int pagesIn(const std::string& folder) {
  int pages = 0;
  if (std::filesystem::exists(folder))
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      pages += entry.path().extension() == ".htm";
  return pages;
}

TEST(PublicWidget, ReportsOnRecordsAndItsStatusCancels) {
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
        {QVariant::fromValue(stock()), QString(), QString(), "stock.htm", "Stock", 0}, &error);
    EXPECT_EQ(result, QVariant(true)) << error.toStdString();
    EXPECT_GT(statuses, 0);
    EXPECT_EQ(pagesIn(app / "Reports"), cancel ? 0 : 3);
    EXPECT_EQ(widget.value("CurrentRecordset").metaType(), QMetaType::fromType<Records>());
  }
}

// A value the control has no kind for is an error that names the argument, never an empty one.
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

}  // namespace
}  // namespace quelo::qt
