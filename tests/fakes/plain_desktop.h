// A session without a desktop or a display whose web browser is a recording program: the xdg
// utilities take their generic path and hand every target to $BROWSER. Programs started by the
// test inherit it; everything is put back at the end.
#pragma once

#include "fakes/recording_program.h"
#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"

namespace quelo::testing {

struct PlainDesktop {
  PlainDesktop() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "DESKTOP_SESSION",
                             "LXQT_SESSION_CONFIG", "DESKTOP", "DBUS_SESSION_BUS_ADDRESS", "MAILER"})
      env.unset(name);
    env.set("BROWSER", browser.path())
        .set("HOME", dir.path())
        .set("XDG_CONFIG_HOME", dir / "config")
        .set("XDG_DATA_HOME", dir / "data");
  }

  ScratchDir dir;
  RecordingProgram browser{dir, "browser"};
  ScopedEnv env;
};

}  // namespace quelo::testing
