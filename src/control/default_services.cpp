#include "control/default_services.h"

#include "forms/form_presenter.h"
#include "platform/headless/clocked_loop.h"
#include "platform/headless/recording_message_box.h"
#include "platform/posix/chromium_renderer.h"
#include "platform/posix/desktop_windows.h"
#include "platform/posix/fontconfig_fonts.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/proc_mount_table.h"
#include "platform/posix/sniffing_picture_loader.h"
#include "platform/posix/sqlite_settings_store.h"
#include "platform/posix/system_clock.h"

namespace quelo {
namespace {

class MachineServices : public DefaultServices {
 public:
  Platform platform() override { return platformOf(*this); }
  const std::string& settingsProblem() const override { return settings.problem(); }

  SystemClock clock;
  ClockedLoop loop{clock};
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
  ChromiumRenderer renderer;
};

}  // namespace

std::unique_ptr<DefaultServices> makeDefaultServices() { return std::make_unique<MachineServices>(); }

}  // namespace quelo
