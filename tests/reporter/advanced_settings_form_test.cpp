#include "reporter/advanced_settings_form.h"

#include <gtest/gtest.h>

#include <thread>

#include "component/component.h"
#include "fakes/sqlite_file.h"
#include "reporter/reg_settings.h"
#include "reporter/settings_form_fixture.h"

namespace quelo::testing {
namespace {

using forms::CommandButton;
using forms::Label;

TEST_F(SettingsFormTest, FewerThanTwoInstalledFontsGiveTheListTimesNewRomanAlone) {
  for (const std::vector<std::string>& installed : {std::vector<std::string>{}, {"Only One"}}) {
    h.component->advancedSettingsForm.reset();
    h.fonts.names = installed;
    ASSERT_EQ(fontBox().listCount(), 1);
    EXPECT_EQ(fontBox().list(0), "Times New Roman");
    EXPECT_EQ(fontBox().listIndex(), 0);
  }
}

TEST_F(SettingsFormTest, ApplyCommitsEveryControlTrimmedSetsTheFlagAndHides) {
  form().show(false);
  ASSERT_TRUE(form().visible());
  box("txtHeaderFooter", 0).setText("  Head ");
  box("txtHeaderFooter", 1).setText("Foot");
  check("chkNotes").setValue(1);
  option("OptNotesPosition", 1).setValue(true);
  box("txtNotes").setText(" a\r\nb ");
  label("lblLogo", 0).setCaption(" /p/logo.png ");
  label("lblLogo", 1).setCaption("/p/sig.gif");
  box("txtLink", 0).setText("www.example.org ");
  box("txtLink", 1).setText(" me@example.org");
  option("OptPages", 1).setValue(true);
  check("chkSave").setValue(1);
  fontBox().setListIndex(1);
  ctl<CommandButton>("cmdApply").press();

  EXPECT_TRUE(form().AdvSettings());
  EXPECT_FALSE(form().visible());
  EXPECT_EQ(formatSettingsRecord(working()),
            "DejaVu Sans**_**Head**_**Foot**_**1**_**1**_**a\r\nb**_**/p/logo.png**_**/p/sig.gif**_**www.example.org"
            "**_**me@example.org**_**1**_**1");
  EXPECT_EQ(setting(Ra_NotesOnTop), Variant(false));
  EXPECT_EQ(setting(Ra_AllPages), Variant(false));
  EXPECT_FALSE(h.files.exists(h.settings.file())) << "Apply stores nothing";
}

TEST_F(SettingsFormTest, ApplyDuringAnAutomaticReportLeavesTheFormShown) {
  form().show(false);
  h.component->reportAutoReporting = true;
  form().cmdApply_Click();
  EXPECT_TRUE(form().visible());
  EXPECT_TRUE(form().AdvSettings());
}

TEST_F(SettingsFormTest, ApplyWithNoFontChosenTakesTimesNewRoman) {
  h.fonts.names = {"A", "B"};
  ASSERT_EQ(fontBox().listIndex(), -1);
  form().cmdApply_Click();
  EXPECT_EQ(working().FontName, "Times New Roman");
}

TEST_F(SettingsFormTest, CancelKeepsTheWorkingSettingsButNotTheEditsInTheBoxes) {
  form().cmdApply_Click();
  box("txtHeaderFooter", 0).setText("changed");
  form().show(false);
  ASSERT_TRUE(form().visible());
  ctl<CommandButton>("CancelButton").press();
  EXPECT_FALSE(form().AdvSettings());
  EXPECT_FALSE(form().visible());
  EXPECT_EQ(working().Header, "");
  EXPECT_EQ(box("txtHeaderFooter", 0).text(), "changed");
}

TEST_F(SettingsFormTest, SavingWithTheBoxUntickedWritesNothing) {
  box("txtHeaderFooter", 0).setText("x");
  form().cmdApply_Click();
  form().SaveUserSettings();
  EXPECT_FALSE(h.files.exists(h.settings.file()));
}

TEST_F(SettingsFormTest, SavedSettingsComeBackInAFreshThreadEvenBeyond1024Bytes) {
  const std::string notes = "first line\r\nsecond line\r\n" + std::string(1500, 'n');
  box("txtHeaderFooter", 1).setText("Foot");
  check("chkNotes").setValue(1);
  option("OptNotesPosition", 1).setValue(true);
  box("txtNotes").setText(notes);
  label("lblLogo", 0).setCaption("/p/logo.png");
  box("txtLink", 0).setText("www.example.org");
  option("OptPages", 1).setValue(true);
  check("chkSave").setValue(1);
  fontBox().setListIndex(0);
  form().cmdApply_Click();
  form().SaveUserSettings();
  EXPECT_EQ(working().Header, " ") << "empty texts become one space in the working settings too";
  EXPECT_EQ(sqlRows(h.settings.file(), "SELECT data FROM reg_values"),
            (std::vector<std::vector<std::string>>{{"Arial**_** **_**Foot**_**1**_**1**_**" + notes +
                "**_**/p/logo.png**_** **_**www.example.org**_** **_**1**_**1"}}));
  ASSERT_TRUE(form().unload());

  const std::string file = h.settings.file();
  std::thread fresh([&] {
    ControlHarness other(true, file);
    EXPECT_EQ(other.component->state<SettingsState>().working.Header, "") << "a new component: empty settings";
    auto value = [&](int32_t which) { return other.control->call("AdvancedSettings", {Variant(which)}).valueOr(Variant()); };
    EXPECT_EQ(value(Ra_Header), Variant(" "));
    EXPECT_EQ(value(Ra_Footer), Variant("Foot"));
    EXPECT_EQ(value(Ra_UseNotes), Variant(true));
    EXPECT_EQ(value(Ra_NotesOnTop), Variant(false));
    EXPECT_EQ(value(Ra_Notes), Variant(notes));
    EXPECT_EQ(value(Ra_Logo), Variant("/p/logo.png"));
    EXPECT_EQ(value(Ra_Signature), Variant(" "));
    EXPECT_EQ(value(Ra_Website), Variant("www.example.org"));
    EXPECT_EQ(value(Ra_Email), Variant(" "));
    EXPECT_EQ(value(Ra_AllPages), Variant(false));
    const ReportSettings& s = other.component->state<SettingsState>().working;
    EXPECT_EQ(s.FontName, "Arial");
    EXPECT_EQ(s.SaveSettings, 1);

    QueloAdvancedSet& f = advancedSettingsForm(*other.component, other.platform());
    f.show(false);
    EXPECT_EQ(f.get<forms::ComboBox>("cboFontName").text(), "Arial");
    EXPECT_EQ(f.get<forms::TextBox>("txtHeaderFooter", 0).text(), " ");
    EXPECT_EQ(f.get<forms::TextBox>("txtNotes").text(), notes);
    EXPECT_EQ(f.get<forms::CheckBox>("chkNotes").value(), 1);
    EXPECT_TRUE(f.get<forms::OptionButton>("OptNotesPosition", 1).value());
    EXPECT_EQ(f.get<Label>("lblLogo", 0).caption(), "/p/logo.png");
    EXPECT_TRUE(f.get<forms::OptionButton>("OptPages", 1).value());
    EXPECT_EQ(f.get<forms::CheckBox>("chkSave").value(), 1);
  });
  fresh.join();
}

TEST_F(SettingsFormTest, ClosingTheWindowUnloadsSoTheNextUseReadsTheStoreAgain) {
  EXPECT_EQ(setting(Ra_Header), Variant(""));
  EXPECT_FALSE(h.files.exists(h.settings.file())) << "reading creates no settings file";
  ASSERT_TRUE(WriteRegSetting(&h.settings, "Arial**_**Stored header", kReportSettingName));
  EXPECT_EQ(setting(Ra_Header), Variant("")) << "a loaded form does not read again";
  ASSERT_TRUE(form().unload());
  EXPECT_EQ(setting(Ra_Header), Variant("Stored header"));
  EXPECT_EQ(box("txtHeaderFooter", 0).text(), "Stored header");
  EXPECT_EQ(fontBox().text(), "Arial");
}

// The installed fonts, counting how often they are read.
struct CountedFonts : Fonts {
  std::vector<std::string> families() override {
    ++reads;
    return {"Times New Roman", "DejaVu Sans", "Arial"};
  }
  int reads = 0;
};

// A report loads the form and applies it without showing it: the installed fonts are read only
// when Apply must know whether the stored font is one of them, and when the form is shown.
TEST_F(SettingsFormTest, TheFontListIsReadWhenShownOrWhenApplyChecksTheStoredFont) {
  const struct {
    const char* stored;
    int readsByApply;
    const char* applied;
  } cases[] = {{"", 0, "Times New Roman"},
               {"Arial**_**h**_**f**_**1**_**1**_**n**_**l**_**s**_**w**_**e**_**1", 1, "Arial"},
               {"No Such Font**_**h**_**f**_**1**_**1**_**n**_**l**_**s**_**w**_**e**_**1", 1, "Times New Roman"}};
  for (const auto& c : cases) {
    Component component;
    if (*c.stored) {
      ASSERT_TRUE(WriteRegSetting(&h.settings, c.stored, kReportSettingName));
    }
    CountedFonts fonts;
    Platform platform = h.platform();
    platform.fonts = &fonts;
    QueloAdvancedSet& f = advancedSettingsForm(component, platform);
    f.load();
    EXPECT_EQ(fonts.reads, 0) << c.stored;
    f.cmdApply_Click();
    EXPECT_EQ(fonts.reads, c.readsByApply) << c.stored;
    EXPECT_EQ(component.state<SettingsState>().working.FontName, c.applied) << c.stored;
    f.show(false);
    EXPECT_EQ(fonts.reads, 1) << c.stored;
  }
}

TEST_F(SettingsFormTest, AStoredFontThatIsNotInstalledSelectsNothing) {
  const std::string record = "No Such Font**_**h**_**f**_**1**_**5**_**n**_**l**_**s**_**w**_**e**_**7";
  ASSERT_TRUE(WriteRegSetting(&h.settings, record, kReportSettingName));
  EXPECT_EQ(fontBox().listIndex(), -1);
  EXPECT_EQ(label("lblFontName").fontName(), "No Such Font");
  EXPECT_EQ(working().NotesPosition, 5);
  EXPECT_TRUE(option("OptNotesPosition", 0).value()) << "no option button 5: the design-time choice stays";
  EXPECT_TRUE(option("OptPages", 0).value());
}

TEST_F(SettingsFormTest, RevertFromTheBackupFillsTheTenControlsAndLeavesTheSettings) {
  auto& backup = h.component->state<SettingsState>().backup;
  backup = {Variant("H"), Variant("F"), Variant(true), Variant(false), Variant("N"), Variant("/logo"),
            Variant("/sig"), Variant("web"), Variant("mail"), Variant(false)};
  check("chkSave").setValue(1);
  form().RevertToRealAdvSettings(true);
  EXPECT_EQ(box("txtHeaderFooter", 0).text(), "H");
  EXPECT_EQ(box("txtHeaderFooter", 1).text(), "F");
  EXPECT_EQ(check("chkNotes").value(), 1) << "True is -1; its absolute value ticks the box";
  EXPECT_FALSE(option("OptNotesPosition", 0).value());
  EXPECT_EQ(box("txtNotes").text(), "N");
  EXPECT_EQ(label("lblLogo", 0).caption(), "/logo");
  EXPECT_EQ(label("lblLogo", 1).caption(), "/sig");
  EXPECT_EQ(box("txtLink", 0).text(), "web");
  EXPECT_EQ(box("txtLink", 1).text(), "mail");
  EXPECT_FALSE(option("OptPages", 0).value());
  EXPECT_EQ(check("chkSave").value(), 1) << "the save box is not part of the backup";
  EXPECT_EQ(working().Header, "");

  form().RevertToRealAdvSettings(false);
  EXPECT_EQ(box("txtHeaderFooter", 0).text(), "");
  EXPECT_TRUE(option("OptNotesPosition", 0).value());
  EXPECT_EQ(check("chkSave").value(), 0);
}

}  // namespace
}  // namespace quelo::testing
