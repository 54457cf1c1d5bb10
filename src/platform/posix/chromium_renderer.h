// The page renderer of Linux: Chromium in headless mode, driven over its remote-debugging pipe so
// that one browser process prints every page of a report. Each page is printed to PDF as the
// browser shows it (backgrounds, borders, pictures) into a file of the private folder, then the
// pages are bound into one document with a bookmark each.
//
// The browser runs with a fresh profile in a private temporary folder (removed afterwards), no
// extensions, no background traffic, no script, and every request other than a local file
// refused; a page that takes longer than the limit ends the run and the browser with it.
#pragma once

#include <chrono>
#include <string>

#include "platform/page_renderer.h"

namespace quelo {

struct RenderLimits {
  std::chrono::milliseconds start{60'000};    // until the browser takes commands
  std::chrono::milliseconds perPage{60'000};  // to load and print one page
};

class ChromiumRenderer : public PageRenderer {
 public:
  // `program`: the browser to run, $QUELO_CHROMIUM when it is set, else "chromium".
  explicit ChromiumRenderer(std::string program = programFromEnvironment(),
                            RenderLimits limits = {})
      : program_(std::move(program)), limits_(limits) {}
  Result<std::string> renderPdf(const std::vector<PageToRender>& pages) override;

  static std::string programFromEnvironment();

 private:
  std::string program_;
  RenderLimits limits_;
};

}  // namespace quelo
