// Under a real X server: the file dialog draws the chosen picture in its preview, the report form
// draws a picture field's pictures in their grid cells, pixel for pixel where the view says they
// stand, and every form fits its controls into its window at small and large font sizes. The
// screenshots stay in the build folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <sstream>

#include "fakes/run_process.h"
#include "fakes/scratch_dir.h"
#include "fakes/xvfb_server.h"

namespace quelo::qt {
namespace {

// Left half red, right half blue: a picture no background could pass for.
void writeTwoColourPicture(const std::string& path) {
  QImage image(200, 100, QImage::Format_RGB32);
  QPainter p(&image);
  p.fillRect(0, 0, 100, 100, Qt::red);
  p.fillRect(100, 0, 100, 100, Qt::blue);
  p.end();
  image.save(QString::fromStdString(path));
}

bool near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 60;
}

TEST(Screenshot, TheFileDialogDrawsThePictureInItsPreview) {
  quelo::testing::ScratchDir dir;
  writeTwoColourPicture(dir / "two colours.png");
  dir.write("notes.txt", "not a picture");
  quelo::testing::XvfbServer xvfb;
  const std::string shot = std::string(QUELO_BUILD_DIR) + "/file-dialog-preview.png";
  const auto run = quelo::testing::runProcess({QUELO_SNAPSHOT, dir.path(), "two colours.png", shot},
                                              {{"DISPLAY", xvfb.display()}, {"QT_QPA_PLATFORM", "xcb"}});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int x = 0, y = 0, w = 0, h = 0;
  std::istringstream(run.out) >> x >> y >> w >> h;
  ASSERT_GT(w, 20);
  EXPECT_EQ(w, 2 * h);  // fitted with its proportions
  QImage screen(QString::fromStdString(shot));
  ASSERT_FALSE(screen.isNull());
  const QColor background = screen.pixelColor(x + w / 2, y - 3);  // the band above the picture
  const QColor left = screen.pixelColor(x + w / 4, y + h / 2), right = screen.pixelColor(x + 3 * w / 4, y + h / 2);
  EXPECT_TRUE(near(left, Qt::red)) << left.name().toStdString();
  EXPECT_TRUE(near(right, Qt::blue)) << right.name().toStdString();
  EXPECT_FALSE(near(background, Qt::red));
  EXPECT_FALSE(near(background, Qt::blue));
}

TEST(Screenshot, TheReportFormDrawsPicturesInTheirCells) {
  quelo::testing::ScratchDir dir;
  writeTwoColourPicture(dir / "tea.png");
  quelo::testing::XvfbServer xvfb;
  const std::string shot = std::string(QUELO_QT_TEST_DIR) + "/report_form.png";
  const auto run = quelo::testing::runProcess(
      {QUELO_REPORT_SNAPSHOT, dir.path(), "tea.png", shot},
      {{"DISPLAY", xvfb.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"HOME", dir.path()}, {"XDG_CONFIG_HOME", dir / "config"}});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::printf("report form screenshot: %s\n", shot.c_str());
  int x = 0, y = 0, w = 0, h = 0;
  std::istringstream(run.out) >> x >> y >> w >> h;
  // The row and the column take the picture's size (less the grid line).
  EXPECT_NEAR(w, 2 * h, 2);
  ASSERT_GT(h, 20);
  QImage screen(QString::fromStdString(shot));
  ASSERT_FALSE(screen.isNull());
  const QColor left = screen.pixelColor(x + w / 4, y + h / 2), right = screen.pixelColor(x + 3 * w / 4, y + h / 2);
  const QColor textCell = screen.pixelColor(x - 10, y + h / 2);  // the price beside it: no picture
  EXPECT_TRUE(near(left, Qt::red)) << left.name().toStdString();
  EXPECT_TRUE(near(right, Qt::blue)) << right.name().toStdString();
  EXPECT_FALSE(near(textCell, Qt::red)) << textCell.name().toStdString();
  EXPECT_FALSE(near(textCell, Qt::blue)) << textCell.name().toStdString();
}

// At 14 pt the report form is wider than 1,024 pixels: the large font goes with a full HD screen.
TEST(Screenshot, EveryFormHoldsItsControlsAt9And14Points) {
  for (const char* points : {"9", "14"}) {
    SCOPED_TRACE(std::string(points) + " pt");
    quelo::testing::ScratchDir dir;
    quelo::testing::XvfbServer xvfb(std::string(points) == "9" ? "1024x768x24" : "1920x1080x24");
    const auto run = quelo::testing::runProcess(
        {QUELO_FORMS_SNAPSHOT, points, QUELO_QT_TEST_DIR},
        {{"DISPLAY", xvfb.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"HOME", dir.path()}, {"XDG_CONFIG_HOME", dir / "config"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string form, shot;
    int photographed = 0;
    while (lines >> form >> shot) {
      EXPECT_NE(form, "outside") << shot << " stands outside its frame, window or screen";
      if (form == "outside") continue;
      const QImage screen(QString::fromStdString(shot));
      EXPECT_FALSE(screen.isNull()) << shot;
      EXPECT_GT(screen.width(), 200) << shot;
      std::printf("%s\n", shot.c_str());
      ++photographed;
    }
    EXPECT_EQ(photographed, 5);
  }
}

}  // namespace
}  // namespace quelo::qt
