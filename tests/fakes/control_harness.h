// A control on a headless site with a fake clock: the usual starting point of a control test. It
// joins a fresh component, or the one a test passes to share it between controls as a host's
// thread does. Its settings live in a scratch folder (or in the file a test names, to share them
// between controls).
#pragma once

#include <memory>

#include "automation/property_bag.h"
#include "component/component.h"
#include "control/ze_quelo.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_fonts.h"
#include "fakes/fake_page_renderer.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_window_system.h"
#include "fakes/scratch_dir.h"
#include "fakes/fake_mount_table.h"
#include "platform/headless/clocked_loop.h"
#include "platform/headless/headless_site.h"
#include "platform/message_box.h"
#include "platform/file_system.h"
#include "platform/posix/sqlite_settings_store.h"
#include "forms/form_presenter.h"
#include "platform/headless/recording_message_box.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/sniffing_picture_loader.h"

namespace quelo::testing {

struct ControlHarness {
  explicit ControlHarness(bool userMode = true, const std::string& settingsFile = {})
      : ControlHarness(std::make_shared<Component>(), userMode, settingsFile) {}
  explicit ControlHarness(std::shared_ptr<Component> shared, bool userMode = true, const std::string& settingsFile = {})
      : settings(settingsFile.empty() ? configDir / "registry.sqlite" : settingsFile), component(std::move(shared)) {
    site.userMode = userMode;
    control = ZeQuelo::create(component, platform(), site, window);
  }
  ~ControlHarness() {
    if (control) control->terminate();
  }
  Platform platform() { return platformOf(*this); }
  // Advances the clock by whole timer ticks and pumps the loop after each.
  void ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.advance(std::chrono::milliseconds(ZeQuelo::kTimerMilliseconds));
      loop.processEvents();
    }
  }
  // The control's own application path as it saves it, whatever the mode: a path equal to the
  // component's is left out and reads back as that.
  std::string savedApplicationPath() {
    MemoryPropertyBag bag;
    control->writeProperties(bag);
    return bag.read("ApplicationPath", Variant(component->applicationPath)).value().asString();
  }
  int eventCount(std::string_view name) const {
    int n = 0;
    for (const auto& e : site.events) n += e == name;
    return n;
  }

  FakeClock clock;
  ClockedLoop loop{clock};
  PosixFileSystem files;
  RecordingMessageBox messageBox;
  RecordingCursor cursor;
  forms::HeadlessPresenter presenter;
  FakeShell shell;
  FakeWindowSystem windows;
  ScratchDir configDir;
  SqliteSettingsStore settings;
  FakeFonts fonts;
  FakeMountTable mounts;
  SniffingPictureLoader pictures{files};
  FakePageRenderer renderer;
  HeadlessSite site;
  HeadlessWindow window;
  std::shared_ptr<Component> component;
  std::shared_ptr<ZeQuelo> control;
};

}  // namespace quelo::testing
