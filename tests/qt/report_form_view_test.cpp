// The report form, its settings form and the file dialog driven with the mouse and the keys.
#include "forms/file_lists.h"
#include "forms/standard_controls.h"
#include "qt/picture_view.h"
#include "qt/qt_text.h"
#include "qt/report_view_fixture.h"
#include "report_forms/report_form.h"

namespace quelo::qt::testing {
namespace {

using forms::ListBox;

// The list's entries, the marked ones starred.
std::string entries(const ListBox& list) {
  std::string all;
  for (int32_t i = 0; i < list.listCount(); ++i)
    all += (i ? " " : "") + list.list(i) + (list.selected(i) ? "*" : "");
  return all;
}

QueloReportForm& form(FormDialog& d) {
  return static_cast<QueloReportForm&>(*d.view().form());
}

// With Shift and Alt held any key, the Alt key too, inverts the marks: this inverts them once.
void pressAltWithShiftHeld(QWidget* list) {
  QTest::keyPress(list, Qt::Key_Alt, Qt::ShiftModifier);
  QTest::keyRelease(list, Qt::Key_Alt, Qt::ShiftModifier);
}

using ReportFormViewTest = ReportViewTest;

// The grid draws each picture in its cell, sized to it, and follows the paging buttons.
TEST_F(ReportFormViewTest, ThePreviewAndTheFieldListsFollowTheMouseAndTheKeys) {
  when("QueloReportForm", [&](FormDialog& d) {
    auto* grid = qobject_cast<QTableWidget*>(d.widgetOf("MSHFlexGrid1"));
    settle();
    EXPECT_EQ(colourAt(grid, 1, 3), QColor(Qt::red));
    EXPECT_NE(colourAt(grid, 2, 3), QColor(Qt::red));
    EXPECT_EQ(grid->item(2, 3)->text(), "missing.png");  // a missing picture leaves the file name
    EXPECT_EQ(grid->rowHeight(1), twipsToPixels(30 * 15, grid));
    EXPECT_LT(grid->rowHeight(0), grid->rowHeight(1));
    EXPECT_GE(grid->columnWidth(3), twipsToPixels(40 * 15, grid));
    EXPECT_GE(grid->columnWidth(3), grid->horizontalHeader()->sectionSizeHint(3));
    click(d, "cmdPage", 2);
    settle();
    EXPECT_EQ(grid->item(1, 0)->text(), "Item 11");
    ListBox& output = form(d).get<ListBox>("lstOutput");
    QListWidget* out = list(d, "lstOutput");
    clickEntry(list(d, "lstAvailable"), "Qty");  // every field starts marked: this one is unmarked
    click(d, "cmdDirection", 0);
    clickEntry(out, "Picture");
    QTest::keyClick(out, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(entries(output), "Name Picture* Price");
    EXPECT_EQ(out->currentRow(), 1);  // the field that moved keeps the focus
    pressAltWithShiftHeld(out);
    EXPECT_EQ(entries(output), "Name* Picture Price*");
    pressAltWithShiftHeld(list(d, "lstAvailable"));
    EXPECT_EQ(entries(form(d).get<ListBox>("lstAvailable")), "Name Price Qty* Picture");
    click(d, "cmdDirection", 1);  // the marked output fields go
    EXPECT_EQ(entries(output), "Picture");
    for (int i = 0; i < out->count(); ++i) EXPECT_EQ(utf8(out->item(i)->text()), output.list(i));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(12)));
}

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
    saveAs(d, "Stock");
    EXPECT_EQ(qobject_cast<QLineEdit*>(d.widgetOf("txtFileName"))->text(), "stock.htm");
    click(d, "cmdGenerate");
    EXPECT_TRUE(
        outcome->text().startsWith("3 pages written to " + QString::fromStdString(app / "Reports")))
        << outcome->text().toStdString();
    emit outcome->linkActivated(QString::fromStdString(app / "Reports"));
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(25)));
  ASSERT_EQ(h.shell.launches.size(), 2u);  // the first page, then the folder
  EXPECT_NE(h.shell.launches[0].target.find("stock1.htm"), std::string::npos);
  EXPECT_EQ(h.shell.launches[1].target, app / "Reports");
}

// Ticks Cancel (and Delete on cancel) once the status frame shows page 3. True once ticked.
bool generateAndCancel(FormDialog& d, bool deletePages) {
  bool clicked = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (clicked || qobject_cast<QLabel*>(d.widgetOf("lblCurPage"))->text() != "3") return;
    EXPECT_TRUE(d.widgetOf("Frame3")->isVisible() && !d.widgetOf("Frame1")->isVisible());
    EXPECT_FALSE(d.widgetOf("cmdClose")->isEnabled());
    EXPECT_EQ(d.findChild<QLabel*>("lblOutcome")->text(), "Writing the pages...");
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

// The next run is not cancelled by the last one's box.
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

struct FileDialogViewTest : ReportViewTest {
  FileDialogViewTest() {
    ::mkdir(photos.c_str(), 0755);
    writePicture(photos + "/Sunset.png", 60, 30, Qt::red, Qt::blue);
    app.write("Photos/notes.txt", "notes");
    app.write("Photos/empty.txt", "");
  }
  // SupplyFileName in the folder, with the existence check.
  std::string supply(std::function<void(FormDialog&)> user) {
    when("QueloPhotoTabStrip", std::move(user));
    auto r = widget.dispatch()->call(
        "SupplyFileName", {Variant("Choose"), Variant(photos), Variant(int32_t{0}), Variant(true)});
    settle();
    return r ? r.value().asString() : "error";
  }
  static QLineEdit* nameBox(FormDialog& d) {
    return qobject_cast<QLineEdit*>(d.widgetOf("txtFileName"));
  }

  std::string photos = app / "Photos";
};

// A typed folder opens with Enter (or the box says why); a typed file name matches by its end.
TEST_F(FileDialogViewTest, ATypedFolderOpensAndATypedNameIsChosenWithEnter) {
  ::mkdir((app / "Photos/Trips").c_str(), 0755);
  const QString top = QDir::cleanPath(QString::fromStdString(app.path()));
  const struct {
    QString typed, folder, told;  // where the folder list stands after Enter; what the box says
  } cases[] = {
      {"Trips", top + "/Photos/Trips", ""},
      {"../", top + "/Photos", ""},
      {top, top, ""},
      {"nowhere/", top, "No folder nowhere/"},
  };
  const std::string chosen = supply([&](FormDialog& d) {
    EXPECT_TRUE(nameBox(d)->hasFocus());
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed.toStdString());
      QToolTip::hideText();
      typeAndEnter(d, c.typed);
      EXPECT_EQ(QDir::cleanPath(
                    qs(static_cast<forms::DirListBox*>(d.view().form()->find("Dir1"))->path())),
                c.folder);
      EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.told);
      EXPECT_EQ(nameBox(d)->text(),
                c.told.isEmpty() ? QString() : c.typed);  // an opened folder clears the box
    }
    typeAndEnter(d, "Photos");
    typeAndEnter(d, "C:\\elsewhere\\sunset.png");
  });
  EXPECT_EQ(chosen, photos + "/Sunset.png");  // a folder is never taken for the chosen file
}

TEST_F(FileDialogViewTest, AClickedFileIsPreviewedAndChosenWithOk) {
  const std::string chosen = supply([&](FormDialog& d) {
    auto* preview = qobject_cast<PictureView*>(d.widgetOf("ImgChosenPhoto"));
    clickEntry(qobject_cast<QListWidget*>(d.widgetOf("flbPhoto")), "Sunset.png");
    const QRect at = preview->pictureRect();
    EXPECT_FALSE(at.isEmpty());
    EXPECT_EQ(at.width(), 2 * at.height());
    const QImage drawn = preview->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(at.left() + at.width() / 4, at.center().y()), QColor(Qt::red));
    EXPECT_EQ(drawn.pixelColor(at.left() + 3 * at.width() / 4, at.center().y()), QColor(Qt::blue));
    QTest::mouseClick(qobject_cast<QPushButton*>(d.widgetOf("cmdOk")), Qt::LeftButton);
  });
  EXPECT_EQ(chosen, photos + "/Sunset.png");
}

TEST_F(FileDialogViewTest, OnlyARegularFileIsPreviewedAsAPicture) {
  app.plantNonFiles("Photos/");
  EXPECT_TRUE(h.pictures.isPicture(photos + "/Sunset.png"));
  for (const char* name : {"/fifo", "/zero", "/notes.txt", ""})
    EXPECT_FALSE(h.pictures.isPicture(photos + name)) << name;
}

TEST_F(FileDialogViewTest, AccessKeysLeadToTheBoxesAndFoldersOpenWithADoubleClick) {
  const std::string chosen = supply([&](FormDialog& d) {
    for (const auto& [key, box] :
         {std::pair{'v', "Drive1"}, {'t', "Combo1"}, {'n', "txtFileName"}}) {
      QTest::keyClick(&d, key, Qt::AltModifier);
      EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                box)
          << key;
    }
    auto* files = qobject_cast<QListWidget*>(d.widgetOf("flbPhoto"));
    auto* dirs = qobject_cast<QListWidget*>(d.widgetOf("Dir1"));
    const QString parent = QString::fromStdString(app.path()).split('/', Qt::SkipEmptyParts).last();
    clickEntry(dirs, parent);  // a click only selects
    EXPECT_EQ(files->count(), 3);
    clickEntry(dirs, parent, true);  // a double click opens
    EXPECT_EQ(files->count(), 0);    // the scratch folder holds no files
    QTest::keyClick(nameBox(d), Qt::Key_Escape);
  });
  EXPECT_EQ(chosen, "");
}

}  // namespace
}  // namespace quelo::qt::testing
