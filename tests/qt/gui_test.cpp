// quelo-gui starts on a real display, shows its form with the control on it, and quits.
#include <gtest/gtest.h>

#include <QImage>

#include "fakes/run_process.h"
#include "fakes/scratch_dir.h"
#include "fakes/xvfb_server.h"

namespace quelo::qt {
namespace {

TEST(QueloGui, ShowsTheHostFormOnARealDisplay) {
  quelo::testing::ScratchDir home;
  quelo::testing::XvfbServer xvfb;
  const std::string shot = home / "gui.png";
  const auto run = quelo::testing::runProcess(
      {QUELO_GUI, "--screenshot", shot},
      {{"DISPLAY", xvfb.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"HOME", home.path()}, {"XDG_DATA_HOME", home / "data"}});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage form(QString::fromStdString(shot));
  ASSERT_FALSE(form.isNull());
  EXPECT_EQ(form.pixelColor(form.width() > 20 ? 18 : 0, 18), QColor(0x80, 0xFF, 0xFF));  // the control's face
  EXPECT_EQ(quelo::testing::runProcess({QUELO_GUI, "--bogus"}, {{"QT_QPA_PLATFORM", "offscreen"}}).exitCode, 2);
}

}  // namespace
}  // namespace quelo::qt
