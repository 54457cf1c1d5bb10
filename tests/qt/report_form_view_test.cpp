// The report form driven as its user drives it: fields picked with the mouse and the keys, the
// preview paged with its pictures, a report generated, and a generation cancelled from the status
// frame while it runs.

#include "forms/standard_controls.h"
#include "qt/qt_text.h"
#include "qt/report_view_fixture.h"
#include "reporter/report_form.h"

namespace quelo::qt::testing {
namespace {

using forms::ListBox;

std::vector<std::string> entries(const ListBox& list) {
  std::vector<std::string> all;
  for (int32_t i = 0; i < list.listCount(); ++i) all.push_back(list.list(i) + (list.selected(i) ? "*" : ""));
  return all;
}

QueloReportForm& form(FormDialog& d) { return static_cast<QueloReportForm&>(*d.view().form()); }

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

TEST_F(ReportFormViewTest, FieldsArePickedWithTheMouseAndTheKeys) {
  std::vector<std::string> sent, moved, outputInverted, availableInverted, final;
  int focusedAfterMove = -1;
  when("QueloReportForm", [&](FormDialog& d) {
    ListBox& output = form(d).get<ListBox>("lstOutput");
    QListWidget* out = list(d, "lstOutput");
    clickEntry(list(d, "lstAvailable"), "Qty");  // every field starts marked: this one is unmarked
    click(d, "cmdDirection", 0);
    sent = entries(output);
    clickEntry(out, "Picture");
    QTest::keyClick(out, Qt::Key_Up, Qt::ShiftModifier);
    moved = entries(output);
    focusedAfterMove = out->currentRow();
    pressAltWithShiftHeld(out);
    outputInverted = entries(output);
    pressAltWithShiftHeld(list(d, "lstAvailable"));
    availableInverted = entries(form(d).get<ListBox>("lstAvailable"));
    click(d, "cmdDirection", 1);  // the marked output fields go
    final = entries(output);
    for (int i = 0; i < out->count(); ++i) EXPECT_EQ(utf8(out->item(i)->text()), output.list(i));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(12)));
  EXPECT_EQ(sent, (std::vector<std::string>{"Name", "Price", "Picture"}));
  EXPECT_EQ(moved, (std::vector<std::string>{"Name", "Picture*", "Price"}));
  EXPECT_EQ(focusedAfterMove, 1);  // the field that moved keeps the focus
  EXPECT_EQ(outputInverted, (std::vector<std::string>{"Name*", "Picture", "Price*"}));
  EXPECT_EQ(availableInverted, (std::vector<std::string>{"Name", "Price", "Qty*", "Picture"}));
  EXPECT_EQ(final, (std::vector<std::string>{"Picture"}));
}

// The grid draws each picture in its cell, sized to it, and follows the paging buttons.
TEST_F(ReportFormViewTest, ThePreviewPagesAndDrawsPicturesInTheirCells) {
  QString caption, firstOfPage2, missingText;
  bool firstEnabledOnPage1 = true, firstEnabledOnPage2 = false;
  QColor pictureCell, missingCell;
  int pictureRowHeight = 0, pictureColumnWidth = 0, headingWidth = 0, plainRowHeight = 0, expectedHeight = 0;
  int expectedWidth = 0;
  when("QueloReportForm", [&](FormDialog& d) {
    auto* grid = qobject_cast<QTableWidget*>(d.widgetOf("MSHFlexGrid1"));
    settle();
    firstEnabledOnPage1 = d.widgetOf("cmdPage", 0)->isEnabled();
    pictureCell = colourAt(grid, 1, 3);
    missingCell = colourAt(grid, 2, 3);
    missingText = grid->item(2, 3)->text();
    pictureRowHeight = grid->rowHeight(1);
    pictureColumnWidth = grid->columnWidth(3);
    headingWidth = grid->horizontalHeader()->sectionSizeHint(3);
    plainRowHeight = grid->rowHeight(0);
    expectedHeight = twipsToPixels(30 * 15, grid);
    expectedWidth = twipsToPixels(40 * 15, grid);
    click(d, "cmdPage", 2);
    settle();
    caption = text(d, "lblPage");
    firstEnabledOnPage2 = d.widgetOf("cmdPage", 0)->isEnabled();
    firstOfPage2 = grid->item(1, 0)->text();
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(25)));
  EXPECT_EQ(caption, "Page 2 of 3");
  EXPECT_FALSE(firstEnabledOnPage1);
  EXPECT_TRUE(firstEnabledOnPage2);
  EXPECT_EQ(firstOfPage2, "Item 11");
  EXPECT_EQ(pictureCell, QColor(Qt::red));  // the picture, drawn in its cell
  EXPECT_NE(missingCell, QColor(Qt::red));
  EXPECT_EQ(missingText, "missing.png");  // a missing picture leaves the file name
  EXPECT_EQ(pictureRowHeight, expectedHeight);
  EXPECT_GE(pictureColumnWidth, expectedWidth);  // as wide as the picture, and its heading shows whole
  EXPECT_GE(pictureColumnWidth, headingWidth);
  EXPECT_LT(plainRowHeight, pictureRowHeight);
}

// The line under the form says what to do before Generate can run, then where the pages went.
TEST_F(ReportFormViewTest, GenerateWritesEveryPageAndShowsTheFirst) {
  QString fileName, withoutFields, withoutName, done;
  bool colourFocused = false, listsFocused = false;
  when("QueloReportForm", [&](FormDialog& d) {
    auto* outcome = d.findChild<QLabel*>("lblOutcome");
    click(d, "cmdGenerate");
    withoutFields = outcome->text();
    click(d, "cmdDirection", 0);
    click(d, "cmdGenerate");
    withoutName = outcome->text();
    QTest::keyClick(&d, Qt::Key_R, Qt::AltModifier);  // the labels lead to their boxes
    colourFocused = d.widgetOf("cboBGcolor")->hasFocus();
    QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier);  // and the field lists' headings to them
    listsFocused = d.widgetOf("lstOutput")->hasFocus();
    QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
    listsFocused = listsFocused && d.widgetOf("lstAvailable")->hasFocus();
    QTest::keyClick(&d, Qt::Key_T, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Stock");
    saveAs(d, "Stock");
    fileName = text(d, "txtFileName");
    click(d, "cmdGenerate");
    done = outcome->text();
    emit outcome->linkActivated(QString::fromStdString(app / "Reports"));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(25)));
  EXPECT_EQ(fileName, "stock.htm");
  EXPECT_TRUE(colourFocused);
  EXPECT_TRUE(listsFocused);
  EXPECT_NE(app.read("Reports/stock1.htm").find("Vol 1 of Stock"), std::string::npos);
  EXPECT_TRUE(withoutFields.contains("-->>")) << withoutFields.toStdString();
  EXPECT_TRUE(withoutName.contains("Save As")) << withoutName.toStdString();
  EXPECT_TRUE(done.startsWith("3 pages written to " + QString::fromStdString(app / "Reports"))) << done.toStdString();
  ASSERT_EQ(h.shell.launches.size(), 2u);  // the browser was asked for the first page, then the folder
  EXPECT_NE(h.shell.launches[0].target.find("stock1.htm"), std::string::npos);
  EXPECT_EQ(h.shell.launches[1].target, app / "Reports");
}

// Generates five pages and ticks Cancel (and Delete on cancel) in the status frame once it shows
// page 3; the driver sees the click because it lets the event loop run between sections.
struct CancelRun {
  bool closedWhileRunning = false, closeEnabledWhileRunning = true, statusShown = false, clicked = false;
  QString outcomeWhileRunning;
};

CancelRun generateAndCancel(FormDialog& d, bool deletePages) {
  CancelRun run;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* page = qobject_cast<QLabel*>(d.widgetOf("lblCurPage"));
    if (run.clicked || page->text() != "3") return;
    run.statusShown = d.widgetOf("Frame3")->isVisible() && !d.widgetOf("Frame1")->isVisible();
    run.closeEnabledWhileRunning = d.widgetOf("cmdClose")->isEnabled();
    run.outcomeWhileRunning = d.findChild<QLabel*>("lblOutcome")->text();
    d.close();  // the window does not close under a running report
    run.closedWhileRunning = !d.isVisible() || !form(d).loaded();
    if (deletePages) ReportViewTest::click(d, "chkDeleteOnCancel");
    ReportViewTest::click(d, "chkCancel");
    run.clicked = true;
  });
  watch.start(0);
  ReportViewTest::click(d, "cmdGenerate");
  watch.stop();
  return run;
}

// A cancelled run keeps the pages written unless Delete on cancel is ticked too; the next run is
// not cancelled by the last one's box.
TEST_F(ReportFormViewTest, CancelInTheStatusFrameStopsTheRunAndDeletesOnlyWhenAsked) {
  CancelRun kept, deleted;
  bool wholeAgain = false;
  when("QueloReportForm", [&](FormDialog& d) {
    click(d, "cmdDirection", 0);
    click(d, "chkBrowser");
    saveAs(d, "run");
    kept = generateAndCancel(d, false);
    EXPECT_TRUE(d.widgetOf("cmdClose")->isEnabled());
    EXPECT_TRUE(reportExists("run2.htm"));
    EXPECT_FALSE(reportExists("run3.htm"));
    click(d, "cmdGenerate");
    wholeAgain = reportExists("run5.htm");
    saveAs(d, "gone");
    deleted = generateAndCancel(d, true);
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(50)));
  EXPECT_TRUE(kept.clicked);
  EXPECT_TRUE(kept.statusShown);
  EXPECT_FALSE(kept.closeEnabledWhileRunning);
  EXPECT_FALSE(kept.closedWhileRunning);
  EXPECT_TRUE(reportExists("run1.htm"));
  EXPECT_TRUE(wholeAgain);
  EXPECT_TRUE(deleted.clicked);
  EXPECT_EQ(deleted.outcomeWhileRunning, "Writing the pages...");  // not the last run's outcome
  for (int p = 1; p <= 5; ++p) EXPECT_FALSE(reportExists("gone" + std::to_string(p) + ".htm")) << p;
  EXPECT_TRUE(h.shell.launches.empty());  // the browser box was cleared
}

}  // namespace
}  // namespace quelo::qt::testing
