#include "ui/about_box.h"

#include <gtest/gtest.h>

#include "fakes/control_harness.h"
#include "ui/maker.h"
#include "forms/form_presenter.h"

namespace quelo {
namespace {

using namespace forms;

TEST(AboutBox, TheControlShowsItModallyAndTheLinksOpen) {
  testing::ControlHarness h;
  std::string version;
  h.presenter.onModal("QueloAbout", [&](Form& f) {
    version = f.get<Label>("lblVersion").caption();
    f.get<Label>("lblZe", 1).click();
    f.get<Label>("lblZe", 0).click();
    f.get<CommandButton>("OKButton").press();
  });
  ASSERT_TRUE(h.control->call("AboutBox").isOk());
  EXPECT_EQ(version, "Version 2.1");  // the project's version
  ASSERT_GE(h.shell.launches.size(), 2u);
  EXPECT_EQ(h.shell.launches[0].kind, "mail");  // the e-mail address goes to the mail program
  EXPECT_EQ(h.shell.launches[0].target, std::string("mailto:") + maker::kEmail);
  EXPECT_EQ(h.shell.launches.back().target, maker::kWebsite);
  EXPECT_FALSE(h.component->aboutBox->loaded());  // unloaded once closed
  EXPECT_EQ(h.presenter.log.back(), "unload QueloAbout");
}

}  // namespace
}  // namespace quelo
