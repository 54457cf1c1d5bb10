// The advanced settings form opened from the report form: the font list drawn in its fonts, the
// chosen font shown on its label, Escape closing; without the chosen font installed the font box
// names the font shown in its place. (Tab's way through the form is the form fit's test.)

#include "qt/report_view_fixture.h"

namespace quelo::qt::testing {
namespace {

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
