// Chromium without a window, as the tests drive it to see report pages as a person would: the
// document it builds from a page (its DOM, serialised), each run on a fresh profile of its own.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/run_process.h"
#include "report/url_path.h"  // fileUrl, to open a page in place

namespace quelo::testing {

// The chromium program on PATH; empty when it is not installed.
std::string chromiumProgram();

// The DOM of the page at `url` once it has loaded (and its scripts, if any, have run), with
// `extra` flags. The run is cut off after two minutes.
ProcessResult renderedDom(const std::string& url, const std::vector<std::string>& extra = {});

}  // namespace quelo::testing

// Skips the test where chromium is missing, except under CI (where it must be installed).
#define QUELO_REQUIRE_CHROMIUM()                                               \
  do {                                                                         \
    if (::quelo::testing::chromiumProgram().empty()) {                         \
      if (std::getenv("CI"))                                                   \
        FAIL() << "chromium is missing (scripts/install-deps.sh installs it)"; \
      GTEST_SKIP() << "chromium is not installed";                             \
    }                                                                          \
  } while (false)
