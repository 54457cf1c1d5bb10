// The services a report job runs with in tests that need no control: the real file system (a
// test writes under a scratch folder), a fake clock and loop, a shell and a renderer that record
// what they are asked to open, render or print, and the browser state a run opens its first page
// with.
#pragma once

#include "component/hyperlink_state.h"
#include "component/platform.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_page_renderer.h"
#include "fakes/fake_shell.h"
#include "platform/headless/clocked_loop.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::testing {

struct ReportServices {
  ReportServices() {
    platform.clock = &clock;
    platform.loop = &loop;
    platform.files = &files;
    platform.shell = &shell;
    platform.renderer = &renderer;
  }
  ReportServices(const ReportServices&) = delete;
  ReportServices& operator=(const ReportServices&) = delete;

  FakeClock clock;
  ClockedLoop loop{clock};
  PosixFileSystem files;
  FakeShell shell;
  FakePageRenderer renderer;
  Platform platform;
  HyperlinkState links;
};

}  // namespace quelo::testing
