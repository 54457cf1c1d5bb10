#include "qt/qt_test_support.h"

namespace quelo::qt::testing {

void soon(std::function<void()> action) { QTimer::singleShot(0, qApp, std::move(action)); }

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// QTest's wait for an active window is over at once for a dialog whose parent dialog is active
// (it counts a window active while its transient parent is), before the dialog has the focus:
// so the wait is for the application's active window.
void activate(QWidget& window) {
  window.activateWindow();
  (void)QTest::qWaitFor([&window] { return window.isActiveWindow(); }, 2000);
}

QWidget* activeModal() { return QApplication::activeModalWidget(); }

void writePicture(const std::string& path, int width, int height, Qt::GlobalColor color, Qt::GlobalColor right) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  if (right != Qt::transparent) QPainter(&image).fillRect(width / 2, 0, width - width / 2, height, right);
  image.save(QString::fromStdString(path));
}

}  // namespace quelo::qt::testing
