// The advanced settings form opened from the report form and worked as its user works it: the
// font list drawn in its fonts, every control edited, Apply storing; Escape and Tab.

#include "qt/report_view_fixture.h"
#include "reporter/advanced_settings_form.h"
#include "reporter/reg_settings.h"
#include "reporter/report_settings.h"

namespace quelo::qt::testing {
namespace {

using SettingsViewTest = ReportViewTest;

void type(FormDialog& d, const char* name, int index, const QString& text) {
  QWidget* box = d.widgetOf(name, index);
  ASSERT_TRUE(box) << name;
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::keyClicks(box, text);
}

std::string stored(SettingsStore& store) {
  return toString(ReadRegSetting(&store, static_cast<int32_t>(reg::kLocalMachine), kProductKey, kReportSettingName)).valueOr("?");
}

TEST_F(SettingsViewTest, EveryControlEditsTheSettingsAndApplyStoresThem) {
  QStringList fonts, fontsDrawnIn;
  QString labelFont;
  bool advancedAfterApply = false;
  when("QueloAdvancedSet", [&](FormDialog& d) {
    auto* fontList = qobject_cast<QComboBox*>(d.widgetOf("cboFontName"));
    for (int i = 0; i < fontList->count(); ++i) {
      fonts << fontList->itemText(i);
      fontsDrawnIn << fontList->itemData(i, Qt::FontRole).value<QFont>().family();
    }
    fontList->setFocus();
    QTest::keyClick(fontList, Qt::Key_Up);  // from the stored font, Times New Roman
    QTest::keyClick(fontList, Qt::Key_Up);
    type(d, "txtHeaderFooter", 0, "Quarterly");  // the font box loses the focus
    labelFont = d.widgetOf("lblFontName")->font().family();
    type(d, "txtHeaderFooter", 1, "Shop");
    click(d, "chkNotes");
    click(d, "OptNotesPosition", 1);
    type(d, "txtNotes", -1, "Counted by hand");
    type(d, "txtLink", 0, "https://shop.example");
    type(d, "txtLink", 1, "sales@shop.example");
    click(d, "OptPages", 1);
    clickEntry(list(d, "lstFields"), "Price");
    click(d, "chkSave");
    click(d, "cmdApply");
  });
  when("QueloReportForm", [&](FormDialog& d) {
    click(d, "cmdAdvanced");
    advancedAfterApply = advancedSettingsForm(*h.component, platform).AdvSettings();
    EXPECT_EQ(stored(h.settings), "");  // stored when the report form closes
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(3)));
  EXPECT_EQ(fonts, (QStringList{"Arial", "DejaVu Sans", "Times New Roman"}));
  EXPECT_EQ(fontsDrawnIn, fonts);
  EXPECT_EQ(labelFont, "Arial");
  EXPECT_TRUE(advancedAfterApply);
  const ReportSettings& s = h.component->state<SettingsState>().working;
  EXPECT_EQ((std::vector<std::string>{s.FontName, s.Header, s.Footer, s.Notes, s.Website, s.Email}),
            (std::vector<std::string>{"Arial", "Quarterly", "Shop", "Counted by hand", "https://shop.example",
                                      "sales@shop.example"}));
  EXPECT_EQ((std::vector<int>{s.UseNotes, s.NotesPosition, s.PagesOption, s.SaveSettings}), (std::vector<int>{1, 1, 1, 1}));
  const auto& sums = advancedSettingsForm(*h.component, platform).get<forms::ListBox>("lstFields");
  ASSERT_EQ(sums.listCount(), 2);  // the numeric fields: Price and Qty
  EXPECT_TRUE(sums.selected(0));
  EXPECT_FALSE(sums.selected(1));
  const std::string record = stored(h.settings);
  for (const char* part : {"Arial", "Quarterly", "Counted by hand", "https://shop.example"})
    EXPECT_NE(record.find(part), std::string::npos) << part << " in " << record;
}

// Escape closes the form; Tab leaves the notes box for the next control instead of typing a tab;
// without the chosen font installed the font box names the font shown in its place.
TEST_F(SettingsViewTest, EscapeAndTabMoveOnAndTheFontInUseIsNamed) {
  h.fonts.names = {"DejaVu Sans", "Arial"};
  QString notesText, focusAfterNotes, fontShown;
  bool closedByEscape = false;
  when("QueloAdvancedSet", [&](FormDialog& d) {
    activate(d);
    auto* fontList = qobject_cast<QComboBox*>(d.widgetOf("cboFontName"));
    fontShown = fontList->currentIndex() < 0 ? fontList->placeholderText() : fontList->currentText();
    QWidget* notes = d.widgetOf("txtNotes");
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Tab);
    notesText = qobject_cast<QPlainTextEdit*>(notes)->toPlainText();
    focusAfterNotes = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    closedByEscape = !d.view().form();
    if (!closedByEscape) click(d, "CancelButton");
  });
  when("QueloReportForm", [&](FormDialog& d) {
    click(d, "cmdAdvanced");
    click(d, "cmdClose");
  });
  ASSERT_TRUE(showReport(products(3)));
  EXPECT_EQ(notesText, "");
  EXPECT_EQ(focusAfterNotes, "cmdLogo(0)");
  EXPECT_TRUE(closedByEscape);
  EXPECT_EQ(fontShown, QFontInfo(QFont("Times New Roman")).family());
  EXPECT_FALSE(fontShown.isEmpty());
}

}  // namespace
}  // namespace quelo::qt::testing
