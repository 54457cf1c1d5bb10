// QtPlatform: the platform of a Qt application: the machine's clock, files, mounts, desktop
// programs and windows, with the Qt event loop, message boxes, busy pointer, pictures and
// dialogs. One per GUI thread; it goes when the application object does.
#pragma once

#include "component/platform.h"
#include "qt/qt_form_presenter.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_services.h"
#include "platform/posix/chromium_renderer.h"
#include "platform/posix/desktop_windows.h"
#include "platform/posix/fontconfig_fonts.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/proc_mount_table.h"
#include "platform/posix/sqlite_settings_store.h"
#include "platform/posix/system_clock.h"

namespace quelo::qt {

class QtPlatform {
 public:
  QtPlatform();
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  Platform platform() { return platformOf(*this); }
  // The application's own. REQUIRES: a QApplication exists.
  static QtPlatform& instance();

  SystemClock clock;
  QtMessageLoop loop;
  PosixFileSystem files;
  QtMessageBox messageBox;
  QtCursor cursor;
  QtFormPresenter presenter;
  PosixShell shell;
  std::unique_ptr<WindowSystem> windows = openDesktopWindows();
  ProcMountTable mounts{files};
  QtPictureLoader pictures;
  SqliteSettingsStore settings{SqliteSettingsStore::defaultFile()};
  FontconfigFonts fonts;
  ChromiumRenderer renderer;
};

}  // namespace quelo::qt
