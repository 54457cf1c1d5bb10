// Platform: every service of the outside world that the control uses, handed to it in one piece
// (the control owns none of them). Sets of services that fill it: the default one
// (control/default_services.h), the Qt application's, and the tests' fakes. It lies here, above
// the forms, because one of its services, the presenter, shows the forms engine's forms.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/mount_table.h"
#include "platform/page_renderer.h"
#include "platform/picture.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/window_system.h"

namespace quelo::forms {
class FormPresenter;
}

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
  PageRenderer* renderer = nullptr;
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
                  .pictures = serviceAddress(s.pictures),
                  .renderer = serviceAddress(s.renderer)};
}

}  // namespace quelo
