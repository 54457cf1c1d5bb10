// Platform: every service of the outside world that the control uses, handed to it in one piece
// (the control owns none of them). HeadlessPlatform is a complete set for the command line and
// tests: the machine's clock, files, mounts, pictures, desktop programs, windows, settings and fonts,
// with recorded message boxes and headless forms.
#pragma once

#include "platform/clock.h"
#include "platform/clocked_loop.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/forms/form_presenter.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/posix/fontconfig_fonts.h"
#include "platform/posix/sqlite_settings_store.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/window_system.h"
#include "platform/mount_table.h"
#include "platform/picture.h"

namespace quelo {

struct Platform {
  Clock* clock = nullptr;
  MessageLoop* loop = nullptr;
  FileSystem* files = nullptr;
  MessageBoxService* messageBox = nullptr;
  CursorService* cursor = nullptr;
  forms::FormPresenter* presenter = nullptr;
  Shell* shell = nullptr;
  WindowSystem* windows = nullptr;
  SettingsStore* settings = nullptr;
  Fonts* fonts = nullptr;
  MountTable* mounts = nullptr;
  PictureLoader* pictures = nullptr;
};

class HeadlessPlatform {
 public:
  HeadlessPlatform() : loop(clock) {}
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  Platform platform() {
    return Platform{.clock = &clock,
                    .loop = &loop,
                    .files = &files,
                    .messageBox = &messageBox,
                    .cursor = &cursor,
                    .presenter = &presenter,
                    .shell = &shell,
                    .windows = windows.get(),
                    .settings = &settings,
                    .fonts = &fonts,
                    .mounts = &mounts,
                    .pictures = &pictures};
  }

  SystemClock clock;
  ClockedLoop loop;
  PosixFileSystem files;
  RecordingMessageBox messageBox;
  RecordingCursor cursor;
  forms::HeadlessPresenter presenter;
  PosixShell shell;
  std::unique_ptr<WindowSystem> windows = openDesktopWindows();
  SqliteSettingsStore settings{SqliteSettingsStore::defaultFile()};
  FontconfigFonts fonts;
  ProcMountTable mounts{files};
  SniffingPictureLoader pictures{files};
};

}  // namespace quelo
