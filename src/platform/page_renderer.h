// PageRenderer: lays out report pages as a web browser shows them and prints them into one
// paginated PDF document, the form in which a print system and a reader take a finished report.
// Rendering reads local files only: nothing is fetched from the network and no script runs.
#pragma once

#include <string>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct PageToRender {
  std::string url;    // a "file://" URL of an HTML page on this machine
  std::string title;  // its bookmark in the document
  bool operator==(const PageToRender&) const = default;
};

class PageRenderer {
 public:
  virtual ~PageRenderer() = default;
  // The bytes of one PDF holding `pages` in order, each starting on a new sheet, with one
  // bookmark per page at its first sheet. A missing engine is err::kFileNotFound, with a
  // message that names what to install.
  virtual Result<std::string> renderPdf(const std::vector<PageToRender>& pages) = 0;
};

}  // namespace quelo
