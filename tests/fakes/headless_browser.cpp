#include "fakes/headless_browser.h"

#include <unistd.h>

#include <cstdlib>

#include "fakes/scratch_dir.h"

namespace quelo::testing {

std::string chromiumProgram() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t at = 0; at <= dirs.size();) {
    const size_t colon = std::min(dirs.find(':', at), dirs.size());
    const std::string candidate = dirs.substr(at, colon - at) + "/chromium";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    at = colon + 1;
  }
  return {};
}

ProcessResult renderedDom(const std::string& url, const std::vector<std::string>& extra) {
  ScratchDir profile;
  std::vector<std::string> argv{"timeout",
                                "120",
                                chromiumProgram(),
                                "--headless",
                                "--no-sandbox",
                                "--disable-gpu",
                                "--disable-quic",
                                "--no-first-run",
                                "--disable-background-networking",
                                "--disable-component-update",
                                "--disable-sync",
                                "--user-data-dir=" + profile.path()};
  argv.insert(argv.end(), extra.begin(), extra.end());
  argv.push_back("--dump-dom");
  argv.push_back(url);
  return runProcess(argv);
}

}  // namespace quelo::testing
