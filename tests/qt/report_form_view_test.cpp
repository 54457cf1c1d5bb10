// The report form driven as its user drives it: fields picked with the mouse and the keys, the
// preview paged with its pictures, a report generated, and a generation cancelled from the status
// frame while it runs. The advanced settings form opened from it: the font list drawn in its
// fonts, the chosen font shown on its label, Escape closing; without the chosen font installed the
// font box names the font shown in its place. (Tab's way through the forms is the form fit's test.)

#include "forms/standard_controls.h"
#include "qt/qt_text.h"
#include "qt/report_view_fixture.h"
#include "report_forms/report_form.h"

namespace quelo::qt::testing {
namespace {

using forms::ListBox;

std::vector<std::string> entries(const ListBox& list) {
  std::vector<std::string> all;
  for (int32_t i = 0; i < list.listCount(); ++i)
    all.push_back(list.list(i) + (list.selected(i) ? "*" : ""));
  return all;
}

QueloReportForm& form(FormDialog& d) {
  return static_cast<QueloReportForm&>(*d.view().form());
}

QColor colourAt(QTableWidget* grid, int row, int col) {
  const QImage shown = grid->viewport()->grab().toImage();
  return shown.pixelColor(grid->visualRect(grid->model()->index(row, col)).center());
}

// Shift held, then Alt pressed: with Shift and Alt held any key inverts the marks, the Alt key
// itself too, so this inverts them once.
void pressAltWithShiftHeld(QWidget* list) {
  QTest::keyPress(list, Qt::Key_Alt, Qt::ShiftModifier);
  QTest::keyRelease(list, Qt::Key_Alt, Qt::ShiftModifier);
}

using ReportFormViewTest = ReportViewTest;
using Entries = std::vector<std::string>;

// The handlers below check as they act: a handler that never ran would leave its form open.
TEST_F(ReportFormViewTest, FieldsArePickedWithTheMouseAndTheKeys) {
  when("QueloReportForm", [&](FormDialog& d) {
    ListBox& output = form(d).get<ListBox>("lstOutput");
    QListWidget* out = list(d, "lstOutput");
    clickEntry(list(d, "lstAvailable"), "Qty");  // every field starts marked: this one is unmarked
    click(d, "cmdDirection", 0);
    EXPECT_EQ(entries(output), (Entries{"Name", "Price", "Picture"}));
    clickEntry(out, "Picture");
    QTest::keyClick(out, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(entries(output), (Entries{"Name", "Picture*", "Price"}));
    EXPECT_EQ(out->currentRow(), 1);  // the field that moved keeps the focus
    pressAltWithShiftHeld(out);
    EXPECT_EQ(entries(output), (Entries{"Name*", "Picture", "Price*"}));
    pressAltWithShiftHeld(list(d, "lstAvailable"));
    EXPECT_EQ(entries(form(d).get<ListBox>("lstAvailable")),
              (Entries{"Name", "Price", "Qty*", "Picture"}));
    click(d, "cmdDirection", 1);  // the marked output fields go
    EXPECT_EQ(entries(output), (Entries{"Picture"}));
    for (int i = 0; i < out->count(); ++i) EXPECT_EQ(utf8(out->item(i)->text()), output.list(i));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(12)));
}

// The grid draws each picture in its cell, sized to it, and follows the paging buttons.
TEST_F(ReportFormViewTest, ThePreviewPagesAndDrawsPicturesInTheirCells) {
  when("QueloReportForm", [&](FormDialog& d) {
    auto* grid = qobject_cast<QTableWidget*>(d.widgetOf("MSHFlexGrid1"));
    settle();
    EXPECT_EQ(colourAt(grid, 1, 3), QColor(Qt::red));  // the picture, drawn in its cell
    EXPECT_NE(colourAt(grid, 2, 3), QColor(Qt::red));
    EXPECT_EQ(grid->item(2, 3)->text(), "missing.png");  // a missing picture leaves the file name
    EXPECT_EQ(grid->rowHeight(1), twipsToPixels(30 * 15, grid));
    EXPECT_LT(grid->rowHeight(0), grid->rowHeight(1));
    EXPECT_GE(grid->columnWidth(3),
              twipsToPixels(40 * 15, grid));  // as wide as the picture, its heading whole
    EXPECT_GE(grid->columnWidth(3), grid->horizontalHeader()->sectionSizeHint(3));
    click(d, "cmdPage", 2);
    settle();
    EXPECT_EQ(grid->item(1, 0)->text(), "Item 11");
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(25)));
}

// The line under the form says what to do before Generate can run, then where the pages went.
TEST_F(ReportFormViewTest, GenerateWritesEveryPageAndShowsTheFirst) {
  when("QueloReportForm", [&](FormDialog& d) {
    auto* outcome = d.findChild<QLabel*>("lblOutcome");
    click(d, "cmdGenerate");
    EXPECT_TRUE(outcome->text().contains("-->>")) << outcome->text().toStdString();
    click(d, "cmdDirection", 0);
    click(d, "cmdGenerate");
    EXPECT_TRUE(outcome->text().contains("Save As")) << outcome->text().toStdString();
    QTest::keyClick(&d, Qt::Key_R, Qt::AltModifier);  // the labels lead to their boxes
    EXPECT_TRUE(d.widgetOf("cboBGcolor")->hasFocus());
    QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier);  // and the field lists' headings to them
    EXPECT_TRUE(d.widgetOf("lstOutput")->hasFocus());
    QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(d.widgetOf("lstAvailable")->hasFocus());
    QTest::keyClick(&d, Qt::Key_T, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Stock");
    saveAs(d, "Stock");
    EXPECT_EQ(text(d, "txtFileName"), "stock.htm");
    click(d, "cmdGenerate");
    EXPECT_TRUE(
        outcome->text().startsWith("3 pages written to " + QString::fromStdString(app / "Reports")))
        << outcome->text().toStdString();
    emit outcome->linkActivated(QString::fromStdString(app / "Reports"));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(25)));
  ASSERT_EQ(h.shell.launches.size(),
            2u);  // the browser was asked for the first page, then the folder
  EXPECT_NE(h.shell.launches[0].target.find("stock1.htm"), std::string::npos);
  EXPECT_EQ(h.shell.launches[1].target, app / "Reports");
}

// Generates five pages and ticks Cancel (and Delete on cancel) in the status frame once it shows
// page 3, where the window does not close; the driver sees the click because it lets the event
// loop run between sections. True once the boxes were ticked.
bool generateAndCancel(FormDialog& d, bool deletePages) {
  bool clicked = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (clicked || qobject_cast<QLabel*>(d.widgetOf("lblCurPage"))->text() != "3") return;
    EXPECT_TRUE(d.widgetOf("Frame3")->isVisible() && !d.widgetOf("Frame1")->isVisible());
    EXPECT_FALSE(d.widgetOf("cmdClose")->isEnabled());
    EXPECT_EQ(d.findChild<QLabel*>("lblOutcome")->text(),
              "Writing the pages...");  // not the last run's outcome
    d.close();
    EXPECT_TRUE(d.isVisible() && form(d).loaded());
    if (deletePages) ReportViewTest::click(d, "chkDeleteOnCancel");
    ReportViewTest::click(d, "chkCancel");
    clicked = true;
  });
  watch.start(0);
  ReportViewTest::click(d, "cmdGenerate");
  return clicked;
}

// A cancelled run keeps the pages written unless Delete on cancel is ticked too; the next run is
// not cancelled by the last one's box.
TEST_F(ReportFormViewTest, CancelInTheStatusFrameStopsTheRunAndDeletesOnlyWhenAsked) {
  when("QueloReportForm", [&](FormDialog& d) {
    click(d, "cmdDirection", 0);
    click(d, "chkBrowser");
    saveAs(d, "run");
    EXPECT_TRUE(generateAndCancel(d, false));
    EXPECT_TRUE(d.widgetOf("cmdClose")->isEnabled());
    EXPECT_TRUE(reportExists("run1.htm") && reportExists("run2.htm"));
    EXPECT_FALSE(reportExists("run3.htm"));
    click(d, "cmdGenerate");
    EXPECT_TRUE(reportExists("run5.htm"));
    saveAs(d, "gone");
    EXPECT_TRUE(generateAndCancel(d, true));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(50)));
  for (int p = 1; p <= 5; ++p) EXPECT_FALSE(reportExists("gone" + std::to_string(p) + ".htm")) << p;
  EXPECT_TRUE(h.shell.launches.empty());  // the browser box was cleared
}

using SettingsViewTest = ReportViewTest;

TEST_F(SettingsViewTest, TheFontListShowsEachFontAndEscapeCloses) {
  for (const bool installed : {true, false}) {
    SCOPED_TRACE(installed ? "chosen font installed" : "chosen font missing");
    if (!installed) h.fonts.names = {"DejaVu Sans", "Arial"};
    bool shown = false;
    when("QueloAdvancedSet", [&](FormDialog& d) {
      shown = true;
      activate(d);
      auto* fontList = qobject_cast<QComboBox*>(d.widgetOf("cboFontName"));
      QStringList fonts, fontsDrawnIn;
      for (int i = 0; i < fontList->count(); ++i) {
        fonts << fontList->itemText(i);
        fontsDrawnIn << fontList->itemData(i, Qt::FontRole).value<QFont>().family();
      }
      EXPECT_EQ(fontsDrawnIn, fonts);
      if (installed) {
        EXPECT_EQ(fonts, (QStringList{"Arial", "DejaVu Sans", "Times New Roman"}));
        EXPECT_EQ(fontList->currentText(), "Times New Roman");
      } else {
        EXPECT_EQ(fontList->currentIndex(), -1);
        EXPECT_EQ(fontList->placeholderText(), QFontInfo(QFont("Times New Roman")).family());
        EXPECT_FALSE(fontList->placeholderText().isEmpty());
      }
      fontList->setFocus();
      QTest::keyClick(fontList, Qt::Key_Up);
      QTest::keyClick(fontList, Qt::Key_Up);
      QWidget* notes = d.widgetOf("txtNotes");
      QTest::mouseClick(notes, Qt::LeftButton);  // the font box loses the focus
      if (installed) {
        EXPECT_EQ(d.widgetOf("lblFontName")->font().family(), "Arial");
      }
      QTest::keyClick(notes, Qt::Key_Escape);
      EXPECT_FALSE(d.view().form()) << "Escape closes the form";
      if (d.view().form()) click(d, "CancelButton");
    });
    when("QueloReportForm", [&](FormDialog& d) {
      click(d, "cmdAdvanced");
      click(d, "cmdClose");
    });
    ASSERT_TRUE(showReport(products(3)));
    EXPECT_TRUE(shown);
  }
}

}  // namespace
}  // namespace quelo::qt::testing
