// Opens a large file in quelo-gui's host window on the offscreen platform, as "On a file..." does
// once a file is picked, and prints the longest gap between turns of the event loop until the
// report form shows, and the time until it shows.
//   quelo-bench-gui-open FILE [TABLE]      (a CSV file, or TABLE of an SQLite database)
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "component/component.h"
#include "host_window.h"
#include "forms/form.h"
#include "qt/qt_platform.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: quelo-bench-gui-open FILE [TABLE]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir data;  // the host's property record and Reports folder
  quelo::gui::HostWindow window(data.path() + QLatin1Char('/'), std::make_shared<quelo::Component>());
  window.show();

  QElapsedTimer clock;
  qint64 lastTurn = 0, longestGap = 0, shownAt = -1;
  QTimer beat;  // one tick per turn of the loop, as often as the loop turns
  beat.setInterval(1);
  QObject::connect(&beat, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longestGap = std::max(longestGap, now - lastTurn);
    lastTurn = now;
  });
  quelo::qt::QtPlatform::instance().presenter.whenShown = [&](quelo::forms::Form& form,
                                                              quelo::qt::FormDialog&) {
    shownAt = clock.elapsed();
    longestGap = std::max(longestGap, shownAt - lastTurn);
    beat.stop();
    form.closeByUser();
  };
  QTimer::singleShot(0, &window, [&] {
    clock.start();
    beat.start();
    window.reportOnFile(argv[1], argc == 3 ? argv[2] : "");
    // Quits once the read is over and its form (if any) has closed.
    auto* watch = new QTimer(&window);
    QObject::connect(watch, &QTimer::timeout, [&] {
      if (!window.loading()) app.quit();
    });
    watch->start(10);
  });
  QApplication::exec();
  if (shownAt < 0) {
    std::fprintf(stderr, "quelo-bench-gui-open: the report form did not show (%s)\n", argv[1]);
    return 1;
  }
  std::printf("longest gap between event-loop turns: %lld ms\n",
              static_cast<long long>(longestGap));
  std::printf("time until the report form shows: %lld ms\n", static_cast<long long>(shownAt));
  return 0;
}
