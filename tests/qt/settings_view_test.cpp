// The advanced settings form opened from the report form: the font list drawn in its fonts, the
// chosen font shown on its label, Escape closing; without the chosen font installed the font box
// names the font shown in its place. (Tab's way through the form is the form fit's test.)

#include "qt/report_view_fixture.h"

namespace quelo::qt::testing {
namespace {

using SettingsViewTest = ReportViewTest;

TEST_F(SettingsViewTest, TheFontListShowsEachFontAndTheKeysMoveOn) {
  for (const bool installed : {true, false}) {
    SCOPED_TRACE(installed ? "chosen font installed" : "chosen font missing");
    if (!installed) h.fonts.names = {"DejaVu Sans", "Arial"};
    QStringList fonts, fontsDrawnIn;
    QString labelFont, fontShown;
    bool closedByEscape = false;
    when("QueloAdvancedSet", [&](FormDialog& d) {
      activate(d);
      auto* fontList = qobject_cast<QComboBox*>(d.widgetOf("cboFontName"));
      fontShown = fontList->currentIndex() < 0 ? fontList->placeholderText() : fontList->currentText();
      for (int i = 0; i < fontList->count(); ++i) {
        fonts << fontList->itemText(i);
        fontsDrawnIn << fontList->itemData(i, Qt::FontRole).value<QFont>().family();
      }
      fontList->setFocus();
      QTest::keyClick(fontList, Qt::Key_Up);  // from the stored font, Times New Roman
      QTest::keyClick(fontList, Qt::Key_Up);
      QWidget* notes = d.widgetOf("txtNotes");
      QTest::mouseClick(notes, Qt::LeftButton);  // the font box loses the focus
      labelFont = d.widgetOf("lblFontName")->font().family();
      QTest::keyClick(notes, Qt::Key_Escape);
      closedByEscape = !d.view().form();
      if (!closedByEscape) click(d, "CancelButton");
    });
    when("QueloReportForm", [&](FormDialog& d) {
      click(d, "cmdAdvanced");
      click(d, "cmdClose");
    });
    ASSERT_TRUE(showReport(products(3)));
    EXPECT_EQ(fontsDrawnIn, fonts);
    EXPECT_TRUE(closedByEscape);
    if (installed) {
      EXPECT_EQ(fonts, (QStringList{"Arial", "DejaVu Sans", "Times New Roman"}));
      EXPECT_EQ(fontShown, "Times New Roman");
      EXPECT_EQ(labelFont, "Arial");
    } else {
      EXPECT_EQ(fontShown, QFontInfo(QFont("Times New Roman")).family());
      EXPECT_FALSE(fontShown.isEmpty());
    }
  }
}

}  // namespace
}  // namespace quelo::qt::testing
