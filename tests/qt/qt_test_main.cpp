// The Qt tests run inside one application object on the offscreen platform (unless the caller
// chose another), so no display is needed. The offscreen platform gets three screens, at scale
// factors 1 (the primary), 1.5 and 2, so that views can be tried on each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

// Returns the screens' file, to be removed once the platform has read it.
QString offerScaledScreens() {
  const QString config = QDir::temp().filePath(QStringLiteral("quelo_qt_tests_screens_%1.json").arg(getpid()));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(R"({"screens": [
    {"name": "scale-1", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
    {"name": "scale-1.5", "x": 800, "y": 0, "width": 1200, "height": 900, "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1.5},
    {"name": "scale-2", "x": 2000, "y": 0, "width": 1600, "height": 1200, "logicalDpi": 192, "logicalBaseDpi": 96, "dpr": 2}]})");
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
  return config;
}

}  // namespace

int main(int argc, char** argv) {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QString screens = platform.isEmpty() || platform == "offscreen" ? offerScaledScreens() : QString();
  QApplication app(argc, argv);
  if (!screens.isEmpty()) QFile::remove(screens);
  QApplication::setApplicationName("quelo_qt_tests");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
