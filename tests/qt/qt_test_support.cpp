#include "qt/qt_test_support.h"

#include <QApplication>
#include <QTimer>

namespace quelo::qt::testing {

void soon(std::function<void()> action) { QTimer::singleShot(0, qApp, std::move(action)); }

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

QWidget* activeModal() { return QApplication::activeModalWidget(); }

}  // namespace quelo::qt::testing
