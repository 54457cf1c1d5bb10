// The settings form's buttons and boxes: picture buttons through the host control's file dialog,
// F3 in the link boxes, the focus rules.
#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "automation/member_dispatch.h"
#include "reporter/settings_form_fixture.h"

namespace quelo::testing {
namespace {

// A host control whose SupplyFileName answers what the test says and remembers its arguments.
struct FakeHostControl {
  FakeHostControl() {
    dispatch->bind("SupplyFileName", InvokeKind::Method, [this](Args& args) -> Result<Variant> {
      calls.push_back(args);
      return Variant(answer);
    });
  }
  std::shared_ptr<MemberDispatch> dispatch = std::make_shared<MemberDispatch>();
  std::string answer;
  std::vector<Args> calls;
};

class SettingsFormEventsTest : public SettingsFormTest {
 protected:
  SettingsFormEventsTest() {
    h.component->applicationPath = app.path();
    form().setMyfControl(host.dispatch);
  }

  ScratchDir app;
  FakeHostControl host;
};

TEST_F(SettingsFormEventsTest, TheLogoButtonAsksTheHostControlForAPictureInThePicturesFolder) {
  ASSERT_FALSE(h.files.exists(app / "Pictures"));
  host.answer = "";
  ctl<forms::CommandButton>("cmdLogo", 0).press();
  EXPECT_TRUE(h.files.isDirectory(app / "Pictures")) << "the folder is made when missing";
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0], (Args{Variant("Select a Jpeg or Gif or Png image to use as Logo in Report"),
                                 Variant(app / "Pictures/"), Variant(int32_t{2}), Variant(true)}));

  form().cmdLogoClick(1);
  EXPECT_EQ(host.calls.at(1)[0], Variant("Select a Jpeg or Gif or Png image to use as Signature in Report"));
}

TEST_F(SettingsFormEventsTest, APictureOfAKnownTypeIsShownAnythingElseClearsTheLabel) {
  app.write("Logo.JPG", "jpeg");
  app.write("photo.png", "png");
  app.write("scan.bmp", "bmp");
  host.answer = app / "Logo.JPG";
  form().cmdLogoClick(0);
  EXPECT_EQ(label("lblLogo", 0).caption(), app / "Logo.JPG");
  host.answer = app / "photo.png";
  form().cmdLogoClick(1);
  EXPECT_EQ(label("lblLogo", 1).caption(), app / "photo.png");

  for (std::string rejected : {app / "scan.bmp", std::string(), std::string(".png"), app / "missing.gif"}) {
    label("lblLogo", 0).setCaption("before");
    host.answer = rejected;
    form().cmdLogoClick(0);
    EXPECT_EQ(label("lblLogo", 0).caption(), "") << rejected;
  }
}

TEST_F(SettingsFormEventsTest, WithoutAHostControlTheButtonClearsThePicture) {
  form().setMyfControl(nullptr);
  label("lblLogo", 0).setCaption("/old.png");
  form().cmdLogoClick(0);
  EXPECT_EQ(label("lblLogo", 0).caption(), "");
  form().cmdLogoClick(7);  // no such button: nothing happens
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(SettingsFormEventsTest, F3InALinkBoxOpensTheWebsiteOrANewMessage) {
  using Launch = FakeShell::Launch;
  const auto browser = h.windows.add(FakeWindowSystem::kDesktop, "Start - Mozilla Firefox");
  int f3 = forms::key::kF3;
  box("txtLink", 0).setText("  www.example.org ");
  box("txtLink", 0).keyDown(f3, 0);
  box("txtLink", 1).setText(" me@example.org");
  box("txtLink", 1).keyDown(f3, 0);
  EXPECT_EQ(h.shell.launches, (std::vector<Launch>{{"open", "", "www.example.org", true},
                                                   {"mail", "", "mailto:me@example.org", true}}));
  EXPECT_EQ(h.windows.activated, (std::vector<WindowHandle>{browser}))
      << "only the e-mail address goes to an open browser window; the website asks for a new one";

  h.shell.launches.clear();
  int other = forms::key::kF1;
  box("txtLink", 0).keyDown(other, 0);
  box("txtLink", 0).setText("   ");
  box("txtLink", 0).keyDown(f3, 0);
  box("txtLink", 1).setText("");
  box("txtLink", 1).keyDown(f3, 0);
  EXPECT_TRUE(h.shell.launches.empty());
}

TEST_F(SettingsFormEventsTest, TextBoxesSelectTheirWholeTextOnFocus) {
  for (auto [name, index] : {std::pair{"txtHeaderFooter", 0}, {"txtHeaderFooter", 1}, {"txtNotes", -1},
                             {"txtLink", 0}, {"txtLink", 1}}) {
    auto& b = box(name, index);
    b.setText("some text");
    b.setSelStart(3);
    b.setFocus();
    EXPECT_EQ(b.selStart(), 0) << name << index;
    EXPECT_EQ(b.selText(), "some text") << name << index;
  }
}

TEST_F(SettingsFormEventsTest, LeavingTheFontBoxShowsTheFontLabelInTheChosenFont) {
  fontBox().setFocus();
  fontBox().setListIndex(1);
  EXPECT_EQ(label("lblFontName").fontName(), "Times New Roman") << "not before the box loses the focus";
  box("txtNotes").setFocus();
  EXPECT_EQ(label("lblFontName").fontName(), "DejaVu Sans");
}

}  // namespace
}  // namespace quelo::testing
