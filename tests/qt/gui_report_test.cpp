// quelo-gui's interactive report: a picked CSV file or the sample data through the report form.
#include <sys/stat.h>

#include "automation/property_bag.h"
#include "data/recordset/recordset.h"
#include "data/sources/open_source.h"
#include "fakes/run_process.h"
#include "fakes/xvfb_server.h"
#include "host_window.h"
#include "qt/report_view_fixture.h"
#include "report_data.h"

namespace quelo::qt::testing {
namespace {

struct GuiReportTest : ReportViewTest {
  // Clicks the host's button and gives the file picker `file` until it takes it (its folder is
  // read in the background). Returns once the file is read and its report form (if any) closed.
  void pickAndReport(gui::HostWindow& window, const std::string& file) {
    QTimer picker;
    int tries = 0;
    QObject::connect(&picker, &QTimer::timeout, [&] {
      auto* dialog = window.findChild<QFileDialog*>("reportFilePicker");
      if (!dialog || !dialog->isVisible()) return;
      if (++tries > 200) return dialog->reject();
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
      static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    });
    picker.start(10);
    QTest::mouseClick(window.findChild<QPushButton*>("cmdReportFile"), Qt::LeftButton);
    picker.stop();
    EXPECT_LE(tries, 200) << "the file picker did not take " << file;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.loading(); }, 60000));
    settle();
  }
  static QString status(gui::HostWindow& window) { return window.statusBar()->currentMessage(); }
};

// A malformed file opens no form and the status names it.
TEST_F(GuiReportTest, APickedCsvFileAndTheSampleAreReportedThroughTheReportForm) {
  app.write("broken.csv", "Name,Price\n\"Tea,1\n");
  std::string csv = "Name,Price,Added\n";
  for (int i = 1; i <= 12; ++i)
    csv += "Tea " + std::to_string(i) + "," + std::to_string(i) + ".5,2024-03-0" +
           "123456789"[i % 9] + "\n";
  app.write("teas.csv", csv);
  int formsShown = 0, pictureRowHeight = 0, plainRowHeight = 0;
  when("QueloReportForm", [&](FormDialog& d) {
    if (++formsShown == 1) {
      click(d, "cmdDirection", 0);
      click(d, "chkBrowser");
      saveAs(d, "teas");
      click(d, "cmdGenerate");
    } else {
      auto* grid = qobject_cast<QTableWidget*>(d.widgetOf("MSHFlexGrid1"));
      settle();
      plainRowHeight = grid->rowHeight(0);
      pictureRowHeight = grid->rowHeight(1);
    }
    click(d, "cmdClose");
  });
  gui::HostWindow window(QString::fromStdString(app.path()), h.component, &platform);
  pickAndReport(window, app / "broken.csv");
  EXPECT_EQ(formsShown, 0);
  EXPECT_TRUE(status(window).contains("broken.csv")) << status(window).toStdString();
  pickAndReport(window, app / "teas.csv");
  EXPECT_TRUE(reportExists("teas1.htm"));
  EXPECT_NE(app.read("Reports/teas2.htm").find("Tea&nbsp;12"), std::string::npos);
  QTest::mouseClick(window.findChild<QPushButton*>("cmdReportSample"), Qt::LeftButton);
  settle();
  EXPECT_EQ(formsShown, 2);
  EXPECT_GT(pictureRowHeight, plainRowHeight);  // the first product's picture sized its row
  EXPECT_EQ(status(window), "Report form closed");
}

// Cancel opens no form, even when the read is over but not yet delivered, and stops within a
// second a named pipe that nobody writes.
TEST_F(GuiReportTest, CancellingAReadOpensNoFormAndEndsItsThread) {
  app.write("teas.csv", "Name,Price\nTea,1.5\n");
  ASSERT_EQ(::mkfifo((app / "pipe.csv").c_str(), 0600), 0);
  bool formShown = false;
  when("QueloReportForm", [&](FormDialog& d) {
    formShown = true;
    click(d, "cmdClose");
  });
  for (const char* file : {"teas.csv", "pipe.csv"}) {
    SCOPED_TRACE(file);
    gui::HostWindow window(QString::fromStdString(app.path()), h.component, &platform);
    window.reportOnFile(app / file);
    EXPECT_TRUE(window.loading());  // back at once
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    if (std::string(file) == "pipe.csv") QTest::qWait(500);
    ASSERT_TRUE(window.loading());
    window.findChild<QProgressDialog*>("readingRecords")->findChild<QPushButton*>()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.loading(); }, 1000));
    settle();
    EXPECT_FALSE(formShown);
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_EQ(status(window), "Reading cancelled");
  }
}

// Once the report form of a slow read is up, no progress dialog shows, even after its delay.
TEST_F(GuiReportTest, TheReportFormOfASlowReadStandsAloneOnTheHostsWindow) {
  bool progressShown = true;
  QWidget* reportForm = nullptr;
  std::map<std::string, QWidget*> parents;
  for (const char* form : {"QueloAdvancedSet", "QueloPhotoTabStrip"})
    when(form, [&, form](FormDialog& d) {
      parents[form] = d.parentWidget();
      QTest::keyClick(&d, Qt::Key_Escape);
    });
  when("QueloReportForm", [&](FormDialog& d) {
    QTest::qWait(600);
    progressShown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<QProgressDialog*>(w) && w->isVisible()) progressShown = true;
    parents["QueloReportForm"] = d.parentWidget();
    reportForm = &d;
    click(d, "cmdAdvanced");
    click(d, "cmdSaveAs");
    click(d, "cmdClose");
  });
  gui::HostWindow window(QString::fromStdString(app.path()), h.component, &platform);
  window.show();
  window.readForReport("the slow data", [] {
    QThread::msleep(2000);
    return gui::sampleReportData();
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.loading(); }, 60000));
  settle();
  EXPECT_FALSE(progressShown);
  const std::map<std::string, QWidget*> expected{{"QueloReportForm", &window},
                                                 {"QueloAdvancedSet", reportForm},
                                                 {"QueloPhotoTabStrip", reportForm}};
  EXPECT_EQ(parents, expected);
  EXPECT_EQ(status(window), "Report form closed");
}

TEST(GuiHostWindow, FitsASmallScreenAtALargeFont) {
  QtHarness h;
  Platform platform = h.platform();
  quelo::testing::ScratchDir data;
  const QFont before = QApplication::font();
  QFont large = before;
  large.setPointSize(14);
  QApplication::setFont(large);
  gui::HostWindow window(QString::fromStdString(data.path()), h.component, &platform);
  const QSize least = window.minimumSizeHint();
  QApplication::setFont(before);
  EXPECT_LE(least.width(), 1024);
  EXPECT_LE(least.height(), 768 - 40);
}

// A property record quelo-gui could not read is left exactly as it was, and the user is told.
TEST(HostRecord, ARunKeepsWhatItReadAndNeverOverwritesWhatItCouldNot) {
  const char garbage[] = "\177ELF\x02\x01\x01\0\0\0\t\xff\xfe\n\x03\x00\x3e";
  struct Case {
    std::string text;
    bool readable;
  };
  const Case cases[] = {
      {"Enabled\tBoolean\tTrue\r\nMaxRecsPerPage\tLong\t200\r\nInterval\tLong\tlots\r\n"
       "Tag\tString\tmine\r\nno tabs\r\nDeveloperCompany\tString\tACME\r\n",
       true},
      {std::string(garbage, sizeof garbage - 1), false},
  };
  for (const Case& c : cases) {
    quelo::testing::ScratchDir data;
    data.write("quelo-gui.props", c.text);
    QtHarness h;
    Platform platform = h.platform();
    {
      gui::HostWindow window(QString::fromStdString(data.path()), h.component, &platform);
      EXPECT_EQ(window.statusBar()->currentMessage().contains("could not be read"), !c.readable);
    }
    if (!c.readable) {
      EXPECT_EQ(data.read("quelo-gui.props"), c.text);
      continue;
    }
    auto saved = FilePropertyBag::load(data / "quelo-gui.props");
    ASSERT_TRUE(saved) << saved.error().message;
    for (auto [name, value] : {std::pair{"MaxRecsPerPage", Variant(int32_t{200})},
                               {"Tag", Variant("mine")},
                               {"DeveloperCompany", Variant("ACME")}})
      EXPECT_EQ(saved.value().read(name, Variant()).value(), value) << name;
  }
}

TEST(QueloGui, ShowsTheHostFormOnARealDisplay) {
  quelo::testing::ScratchDir home;
  quelo::testing::XvfbServer xvfb;
  const std::string shot = home / "gui.png";
  using quelo::testing::runProcess;
  const auto run =
      runProcess({QUELO_GUI, "--screenshot", shot}, {{"DISPLAY", xvfb.display()},
                                                     {"QT_QPA_PLATFORM", "xcb"},
                                                     {"HOME", home.path()},
                                                     {"XDG_DATA_HOME", home / "data"}});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage form(QString::fromStdString(shot));
  ASSERT_FALSE(form.isNull());
  // The control's face.
  EXPECT_EQ(form.pixelColor(form.width() > 20 ? 18 : 0, 18), QColor(0x80, 0xFF, 0xFF));
  EXPECT_EQ(runProcess({QUELO_GUI, "--bogus"}, {{"QT_QPA_PLATFORM", "offscreen"}}).exitCode, 2);
}

TEST(GuiReportData, TheSampleAndSqliteTablesAreReadAndMissingOnesAreErrors) {
  auto sample = gui::sampleReportData();
  ASSERT_TRUE(sample) << sample.error().message;
  EXPECT_TRUE(gui::isCsvFile("/data/Stock.CSV"));
  EXPECT_FALSE(gui::isCsvFile("/data/stock.db"));
  const std::string db = sampleDataFolder() + "products.db";
  auto tables = gui::sqliteTables(db);
  ASSERT_TRUE(tables) << tables.error().message;
  EXPECT_EQ(tables.value(), std::vector<std::string>{"products"});
  auto table = gui::fileReportData(db, "products");
  ASSERT_TRUE(table) << table.error().message;
  const auto count = [](auto& data) { return data.value().records->recordCount().valueOr(-1); };
  EXPECT_EQ(count(table), count(sample));
  EXPECT_FALSE(gui::fileReportData(db, "no \"such\" table"));
  EXPECT_FALSE(gui::sqliteTables("/nonexistent/none.db"));
}

}  // namespace
}  // namespace quelo::qt::testing
