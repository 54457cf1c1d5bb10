// quelo-gui: a small host application for the control.
//   quelo-gui                     the host's form
//   quelo-gui --screenshot FILE   shows the form, saves a picture of it to FILE and quits
// The control's data (its property record, the message log) live in the user's data folder.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "component/component.h"

#include "host_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VarnikQuelo"));
  const QStringList args = QApplication::arguments();
  QString screenshot;
  if (args.size() == 3 && args[1] == QStringLiteral("--screenshot")) {
    screenshot = args[2];
  } else if (args.size() != 1) {
    std::fprintf(stderr, "usage: quelo-gui [--screenshot FILE]\n");
    return 2;
  }
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (!QDir().mkpath(QDir(data).filePath(QStringLiteral("Reports")))) {
    std::fprintf(stderr, "quelo-gui: cannot create %s\n", qPrintable(data));
    return 1;
  }
  // The one thread's component, gone with the window before the application object.
  auto component = std::make_shared<quelo::Component>();
  quelo::gui::HostWindow window(data + QLatin1Char('/'), component);
  window.resize(860, 560);
  window.show();
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(800, &window, [&] { QApplication::exit(window.grab().save(screenshot) ? 0 : 1); });
  }
  return QApplication::exec();
}
