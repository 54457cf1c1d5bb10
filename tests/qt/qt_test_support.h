// Helpers of the Qt tests: a platform of Qt services with a shell and window tree that launch
// nothing, settings in a scratch folder and fonts the test chooses, acting on a modal dialog from
// inside its event loop, and letting the loop settle. The tests take Qt's widgets and QTest here.
#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

#include "component/component.h"
#include "fakes/fake_fonts.h"
#include "fakes/fake_mount_table.h"
#include "fakes/fake_page_renderer.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_window_system.h"
#include "fakes/scratch_dir.h"
#include "component/platform.h"
#include "qt/qt_form_presenter.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_services.h"
#include "platform/headless/recording_message_box.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/sqlite_settings_store.h"
#include "platform/posix/system_clock.h"

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
void soon(std::function<void()> action);
// Lets the event loop run what is waiting, deferred deletions included.
void settle();
// The application's active modal widget (a message box, a dialog), or null.
QWidget* activeModal();
// Waits until the window is the active one, as a dialog the user just opened is.
void activate(QWidget& window);
// Writes a picture file of the given size, filled with one colour (its right half with `right`).
void writePicture(const std::string& path, int width, int height, Qt::GlobalColor color,
                  Qt::GlobalColor right = Qt::transparent);

}  // namespace quelo::qt::testing
