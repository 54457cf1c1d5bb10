// The settings form: Apply, Cancel, the stored settings, the font list, its buttons and boxes.
#include "report_forms/advanced_settings_form.h"

#include <gtest/gtest.h>

#include <thread>

#include "automation/member_dispatch.h"
#include "automation/text.h"
#include "component/component.h"
#include "control/control_report_host.h"
#include "fakes/control_harness.h"
#include "fakes/fake_fonts.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "report/reg_settings.h"
#include "report/report_settings.h"

namespace quelo::testing {
namespace {

using namespace forms;

// The ten settings the form's controls show, and its save box, parted by "|": texts and captions
// as they stand, boxes ticked and the first option button of each pair chosen as 1 or 0.
std::string shown(QueloAdvancedSet& f) {
  auto text = [&](const char* name, int index = -1) {
    return f.get<TextBox>(name, index).text() + "|";
  };
  auto on = [&](const char* name) { return f.get<OptionButton>(name, 0).value() ? "1|" : "0|"; };
  auto ticked = [&](const char* name) { return std::to_string(f.get<CheckBox>(name).value()); };
  return text("txtHeaderFooter", 0) + text("txtHeaderFooter", 1) + ticked("chkNotes") + "|" +
         on("OptNotesPosition") + text("txtNotes") + f.get<Label>("lblLogo", 0).caption() + "|" +
         f.get<Label>("lblLogo", 1).caption() + "|" + text("txtLink", 0) + text("txtLink", 1) +
         on("OptPages") + ticked("chkSave");
}

// A control on a headless site with a fresh component, and typed access to the settings form's
// controls; the host control's SupplyFileName answers `answer` and keeps its arguments.
class SettingsFormTest : public ::testing::Test {
 protected:
  SettingsFormTest() {
    h.component->applicationPath = app.path();
    host->bind("SupplyFileName", InvokeKind::Method, [this](Args& args) -> Result<Variant> {
      calls.push_back(args);
      return Variant(answer);
    });
    form().setMyfControl(reportHostOf(host));
  }
  QueloAdvancedSet& form() { return advancedSettingsForm(*h.component, h.platform()); }
  template <class T = TextBox>
  T& ctl(std::string_view name, int index = -1) {
    return form().get<T>(name, index);
  }
  Label& label(std::string_view name, int index = -1) { return ctl<Label>(name, index); }
  // The font list, filled when the form is shown.
  ComboBox& fontBox() {
    form().show(false);
    return ctl<ComboBox>("cboFontName");
  }
  // Fills the controls shown() reads from its values.
  void enter(const std::string& values) {
    const std::vector<std::string> v = splitText(values, "|");
    ASSERT_EQ(v.size(), 11u);
    ctl("txtHeaderFooter", 0).setText(v[0]);
    ctl("txtHeaderFooter", 1).setText(v[1]);
    ctl<CheckBox>("chkNotes").setValue(std::stoi(v[2]));
    ctl<OptionButton>("OptNotesPosition", v[3] == "1" ? 0 : 1).setValue(true);
    ctl("txtNotes").setText(v[4]);
    label("lblLogo", 0).setCaption(v[5]);
    label("lblLogo", 1).setCaption(v[6]);
    ctl("txtLink", 0).setText(v[7]);
    ctl("txtLink", 1).setText(v[8]);
    ctl<OptionButton>("OptPages", v[9] == "1" ? 0 : 1).setValue(true);
    ctl<CheckBox>("chkSave").setValue(std::stoi(v[10]));
  }
  const SettingsRecord& working() { return h.component->reportSettings.working; }
  Variant setting(int32_t which) {
    return h.control->call("AdvancedSettings", {Variant(which)}).valueOr(Variant("error"));
  }

  ControlHarness h;
  ScratchDir app;
  std::shared_ptr<MemberDispatch> host = std::make_shared<MemberDispatch>();
  std::string answer;
  std::vector<Args> calls;
};

TEST_F(SettingsFormTest, ApplyCommitsEveryControlTrimmedSetsTheFlagAndHides) {
  form().show(false);
  ASSERT_TRUE(form().visible());
  enter("  Head |Foot|1|0| a\r\nb | /p/logo.png |/p/sig.gif|www.example.org | me@example.org|0|1");
  fontBox().setListIndex(1);
  ctl<CommandButton>("cmdApply").press();

  EXPECT_TRUE(form().AdvSettings());
  EXPECT_FALSE(form().visible());
  EXPECT_EQ(formatSettingsRecord(working()),
            "DejaVu Sans**_**Head**_**Foot**_**1**_**1**_**a\r\nb**_**/p/logo.png**_**/p/sig.gif"
            "**_**www.example.org**_**me@example.org**_**1**_**1");
  EXPECT_FALSE(h.files.exists(h.settings.file())) << "Apply stores nothing";

  form().show(false);  // during an automatic report, Apply leaves the form shown
  h.component->reportAutoReporting = true;
  form().cmdApply_Click();
  EXPECT_TRUE(form().visible());
}

TEST_F(SettingsFormTest, CancelKeepsTheWorkingSettingsButNotTheEditsInTheBoxes) {
  form().cmdApply_Click();
  ctl("txtHeaderFooter", 0).setText("changed");
  form().show(false);
  ASSERT_TRUE(form().visible());
  ctl<CommandButton>("CancelButton").press();
  EXPECT_FALSE(form().AdvSettings());
  EXPECT_FALSE(form().visible());
  EXPECT_EQ(working().header, "");
  EXPECT_EQ(ctl("txtHeaderFooter", 0).text(), "changed");
  form().SaveUserSettings();  // the save box unticked
  EXPECT_FALSE(h.files.exists(h.settings.file()));
}

TEST_F(SettingsFormTest, SavedSettingsComeBackInAFreshThreadEvenBeyond1024Bytes) {
  const std::string notes = "first line\r\nsecond line\r\n" + std::string(1500, 'n');
  enter("|Foot|1|0|" + notes + "|/p/logo.png||www.example.org||0|1");
  fontBox().setListIndex(0);
  form().cmdApply_Click();
  form().SaveUserSettings();
  EXPECT_EQ(working().header, " ") << "empty texts become one space in the working settings too";
  const std::string record = "Arial**_** **_**Foot**_**1**_**1**_**" + notes +
                             "**_**/p/logo.png**_** **_**www.example.org**_** **_**1**_**1";
  EXPECT_EQ(sqlRows(h.settings.file(), "SELECT data FROM reg_values"),
            (std::vector<std::vector<std::string>>{{record}}));
  ASSERT_TRUE(form().unload());

  const std::string file = h.settings.file();
  std::thread fresh([&] {
    ControlHarness other(true, file);
    EXPECT_EQ(other.component->reportSettings.working.header, "")
        << "a new component: empty settings";
    auto value = [&](int32_t which) {
      return other.control->call("AdvancedSettings", {Variant(which)}).valueOr(Variant());
    };
    EXPECT_EQ(value(Ra_Notes), Variant(notes));
    EXPECT_EQ(formatSettingsRecord(other.component->reportSettings.working), record);

    QueloAdvancedSet& f = advancedSettingsForm(*other.component, other.platform());
    f.show(false);
    EXPECT_EQ(f.get<ComboBox>("cboFontName").text(), "Arial");
    EXPECT_EQ(shown(f), " |Foot|1|0|" + notes + "|/p/logo.png| |www.example.org| |0|1");
  });
  fresh.join();
}

// The store read again holds a font that is not installed, which selects nothing, and numbers
// of no option button.
TEST_F(SettingsFormTest, ClosingTheWindowUnloadsSoTheNextUseReadsTheStoreAgain) {
  EXPECT_EQ(setting(Ra_Header), Variant(""));
  EXPECT_FALSE(h.files.exists(h.settings.file())) << "reading creates no settings file";
  ASSERT_TRUE(writeRegSetting(
      &h.settings,
      "No Such Font**_**Stored header**_**f**_**1**_**5**_**n**_**l**_**s**_**w**_**e**_**7",
      kReportSettingName));
  EXPECT_EQ(setting(Ra_Header), Variant("")) << "a loaded form does not read again";
  ASSERT_TRUE(form().unload());
  EXPECT_EQ(setting(Ra_Header), Variant("Stored header"));
  EXPECT_EQ(ctl("txtHeaderFooter", 0).text(), "Stored header");
  EXPECT_EQ(fontBox().listIndex(), -1);
  EXPECT_EQ(label("lblFontName").fontName(), "No Such Font");
  EXPECT_EQ(working().notesPosition, 5);
  EXPECT_TRUE(ctl<OptionButton>("OptNotesPosition", 0).value()) << "no option button 5";
  EXPECT_TRUE(ctl<OptionButton>("OptPages", 0).value());
}

// The installed fonts, counting how often they are read.
struct CountedFonts : FakeFonts {
  std::vector<std::string> families() override {
    ++reads;
    return names;
  }
  int reads = 0;
};

// Fewer than two installed fonts give a list of Times New Roman alone.
TEST_F(SettingsFormTest, TheFontListIsReadWhenShownOrWhenApplyChecksTheStoredFont) {
  const std::string stored = "**_**h**_**f**_**1**_**1**_**n**_**l**_**s**_**w**_**e**_**1";
  const struct {
    std::string stored;
    int readsByApply;
    const char* applied;
    std::string installed, listed;  // parted by commas
    int32_t selected;
  } cases[] = {
      {"", 0, "Times New Roman", "A,B", "A,B", -1},
      {"Arial" + stored, 1, "Arial", "Arial,B", "Arial,B", 0},
      {"No Such Font" + stored, 1, "Times New Roman", "Only One", "Times New Roman", -1},
      {"", 0, "Times New Roman", "", "Times New Roman", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored + " with " + c.installed);
    Component component;
    ASSERT_TRUE(writeRegSetting(&h.settings, c.stored, kReportSettingName));
    CountedFonts fonts;
    fonts.names = splitText(c.installed, ",");
    Platform platform = h.platform();
    platform.fonts = &fonts;
    QueloAdvancedSet& f = advancedSettingsForm(component, platform);
    f.load();
    EXPECT_EQ(fonts.reads, 0);
    f.cmdApply_Click();
    EXPECT_EQ(fonts.reads, c.readsByApply);
    EXPECT_EQ(component.reportSettings.working.fontName, c.applied);
    f.show(false);
    EXPECT_EQ(fonts.reads, 1);
    const auto& list = f.get<ComboBox>("cboFontName");
    std::string listed;
    for (int32_t i = 0; i < list.listCount(); ++i) listed += (i ? "," : "") + list.list(i);
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(list.listIndex(), c.selected);
  }
}

TEST_F(SettingsFormTest, RevertFromTheBackupFillsTheTenControlsAndLeavesTheSettings) {
  auto& backup = h.component->reportSettings.backup;
  backup = {Variant("H"),     Variant("F"),    Variant(true),  Variant(false),  Variant("N"),
            Variant("/logo"), Variant("/sig"), Variant("web"), Variant("mail"), Variant(false)};
  ctl<CheckBox>("chkSave").setValue(1);
  form().RevertToRealAdvSettings(true);
  // True is -1: its absolute value ticks the box. The save box is not part of the backup.
  EXPECT_EQ(shown(form()), "H|F|1|0|N|/logo|/sig|web|mail|0|1");
  EXPECT_EQ(working().header, "");
  form().RevertToRealAdvSettings(false);
  EXPECT_EQ(shown(form()), "||0|1||||||1|0");
}

// A picture of a known type is shown, anything else (or no host control) clears the label.
TEST_F(SettingsFormTest, ThePictureButtonsAskTheHostControl) {
  ASSERT_FALSE(h.files.exists(app / "Pictures"));
  ctl<CommandButton>("cmdLogo", 0).press();
  EXPECT_TRUE(h.files.isDirectory(app / "Pictures"));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (Args{Variant("Select a Jpeg or Gif or Png image to use as Logo in Report"),
                            Variant(app / "Pictures/"), Variant(int32_t{2}), Variant(true)}));
  form().cmdLogoClick(1);
  EXPECT_EQ(calls.at(1)[0],
            Variant("Select a Jpeg or Gif or Png image to use as Signature in Report"));

  for (const char* name : {"Logo.JPG", "photo.png", "scan.bmp"}) app.write(name, "picture");
  for (int i : {0, 1}) {
    answer = app / (i ? "photo.png" : "Logo.JPG");
    form().cmdLogoClick(i);
    EXPECT_EQ(label("lblLogo", i).caption(), answer);
  }
  for (std::string rejected :
       {app / "scan.bmp", std::string(), std::string(".png"), app / "missing.gif"}) {
    label("lblLogo", 0).setCaption("before");
    answer = rejected;
    form().cmdLogoClick(0);
    EXPECT_EQ(label("lblLogo", 0).caption(), "") << rejected;
  }

  calls.clear();
  form().setMyfControl(nullptr);
  label("lblLogo", 0).setCaption("/old.png");
  form().cmdLogoClick(0);
  EXPECT_EQ(label("lblLogo", 0).caption(), "");
  form().cmdLogoClick(7);  // no such button: nothing happens
  EXPECT_TRUE(calls.empty());
}

TEST_F(SettingsFormTest, F3InALinkBoxOpensTheWebsiteOrANewMessage) {
  using Launch = FakeShell::Launch;
  const auto browser = h.windows.add(FakeWindowSystem::kDesktop, "Start - Mozilla Firefox");
  int f3 = forms::key::kF3;
  ctl("txtLink", 0).setText("  www.example.org ");
  ctl("txtLink", 0).keyDown(f3, 0);
  ctl("txtLink", 1).setText(" me@example.org");
  ctl("txtLink", 1).keyDown(f3, 0);
  EXPECT_EQ(h.shell.launches, (std::vector<Launch>{{"open", "", "www.example.org", true},
                                                   {"mail", "", "mailto:me@example.org", true}}));
  EXPECT_EQ(h.windows.activated, (std::vector<WindowHandle>{browser}))
      << "only the e-mail address goes to an open browser window; the website asks for a new one";

  h.shell.launches.clear();
  int other = forms::key::kF1;
  ctl("txtLink", 0).keyDown(other, 0);
  ctl("txtLink", 0).setText("   ");
  ctl("txtLink", 0).keyDown(f3, 0);
  ctl("txtLink", 1).setText("");
  ctl("txtLink", 1).keyDown(f3, 0);
  EXPECT_TRUE(h.shell.launches.empty());
}

// Leaving the font box shows the font label in the chosen font.
TEST_F(SettingsFormTest, FocusSelectsTextsAndShowsTheChosenFont) {
  for (auto [name, index] : {std::pair{"txtHeaderFooter", 0},
                             {"txtHeaderFooter", 1},
                             {"txtNotes", -1},
                             {"txtLink", 0},
                             {"txtLink", 1}}) {
    auto& b = ctl(name, index);
    b.setText("some text");
    b.setSelStart(3);
    b.setFocus();
    EXPECT_EQ(b.selStart(), 0) << name << index;
    EXPECT_EQ(b.selText(), "some text") << name << index;
  }
  fontBox().setFocus();
  fontBox().setListIndex(1);
  EXPECT_EQ(label("lblFontName").fontName(), "Times New Roman")
      << "not before the box loses the focus";
  ctl("txtNotes").setFocus();
  EXPECT_EQ(label("lblFontName").fontName(), "DejaVu Sans");
}

}  // namespace
}  // namespace quelo::testing
