// Helpers of the Qt tests: a platform of Qt services with a shell and window tree that launch
// nothing, settings in a scratch folder and fonts the test chooses, and event loop helpers.
#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

#include "component/component.h"
#include "component/platform.h"
#include "fakes/fake_fonts.h"
#include "fakes/fake_mount_table.h"
#include "fakes/fake_page_renderer.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_window_system.h"
#include "fakes/scratch_dir.h"
#include "platform/headless/recording_message_box.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/sqlite_settings_store.h"
#include "platform/posix/system_clock.h"
#include "qt/qt_form_presenter.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_services.h"

namespace quelo::qt::testing {

struct QtHarness {
  Platform platform() { return platformOf(*this); }
  SystemClock clock;
  QtMessageLoop loop;
  PosixFileSystem files;
  RecordingMessageBox messageBox;
  QtCursor cursor;
  QtFormPresenter presenter;
  quelo::testing::FakeShell shell;
  quelo::testing::FakeWindowSystem windows;
  quelo::testing::ScratchDir configDir;
  SqliteSettingsStore settings{configDir / "registry.sqlite"};
  quelo::testing::FakeFonts fonts;
  quelo::testing::FakeMountTable mounts;
  QtPictureLoader pictures;
  quelo::testing::FakePageRenderer renderer;
  // The test thread's component; it goes first, as its forms are shown by the presenter above.
  std::shared_ptr<Component> component = std::make_shared<Component>();
};

// Runs `action` on the next turn of the event loop (inside the modal loop that is about to run).
inline void soon(std::function<void()> action) {
  QTimer::singleShot(0, qApp, std::move(action));
}
// Lets the event loop run what is waiting, deferred deletions included.
inline void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}
// Waits until the window is the application's active one. (QTest's own wait is over at once for a
// dialog whose transient parent is active, before the dialog has the focus.)
inline void activate(QWidget& window) {
  window.activateWindow();
  (void)QTest::qWaitFor([&window] { return window.isActiveWindow(); }, 2000);
}
// The colour drawn at the centre of the grid's cell.
inline QColor colourAt(QTableWidget* grid, int row, int col) {
  const QImage shown = grid->viewport()->grab().toImage();
  return shown.pixelColor(grid->visualRect(grid->model()->index(row, col)).center());
}
// Writes a picture file of the given size, filled with one colour (its right half with `right`).
inline void writePicture(const std::string& path, int width, int height, Qt::GlobalColor color,
                         Qt::GlobalColor right = Qt::transparent) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  if (right != Qt::transparent)
    QPainter(&image).fillRect(width / 2, 0, width - width / 2, height, right);
  image.save(QString::fromStdString(path));
}

}  // namespace quelo::qt::testing
