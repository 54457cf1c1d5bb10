// Platform: every service of the outside world that the control uses, handed to it in one piece
// (the control owns none of them). HeadlessPlatform is a complete set for the command line and
// tests: the machine's clock, files, mounts, pictures, desktop programs, windows, settings and fonts,
// with recorded message boxes and headless forms.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/clocked_loop.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "forms/form_presenter.h"
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

template <class T>
T* serviceAddress(T& service) {
  return &service;
}
template <class T>
T* serviceAddress(std::unique_ptr<T>& service) {
  return service.get();
}

// The Platform of a set of services held as members named as in Platform (each an object, or an
// owning pointer), so that every set names its services once.
template <class Services>
Platform platformOf(Services& s) {
  return Platform{.clock = serviceAddress(s.clock),
                  .loop = serviceAddress(s.loop),
                  .files = serviceAddress(s.files),
                  .messageBox = serviceAddress(s.messageBox),
                  .cursor = serviceAddress(s.cursor),
                  .presenter = serviceAddress(s.presenter),
                  .shell = serviceAddress(s.shell),
                  .windows = serviceAddress(s.windows),
                  .settings = serviceAddress(s.settings),
                  .fonts = serviceAddress(s.fonts),
                  .mounts = serviceAddress(s.mounts),
                  .pictures = serviceAddress(s.pictures)};
}

class HeadlessPlatform {
 public:
  HeadlessPlatform() : loop(clock) {}
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  Platform platform() { return platformOf(*this); }

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
