// The finished report as one document: its pages rendered as a browser shows them, in page order,
// into a PDF with a bookmark per page. It is rendered once, on first need, for the PDF file
// written beside the pages and for the printer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct Platform;

// The PDF's file name: the base name with its last extension made ".pdf" (report.htm gives
// report.pdf).
std::string pdfFileName(const std::string& baseName);

class ReportDocument {
 public:
  // `pages`: the full paths of the page files, in page order.
  ReportDocument(Platform& platform, std::vector<std::string> pages, std::string baseName)
      : platform_(platform), pages_(std::move(pages)), baseName_(std::move(baseName)) {}

  // Writes the PDF into `folder` (it ends in a separator) whole, under the folder's lock: a run
  // killed meanwhile leaves the earlier file or none; a link or special file there is refused.
  Status writeBeside(const std::string& folder);
  // Hands the PDF to the print system as one job.
  Status print();

 private:
  const Result<std::string>& rendered();

  Platform& platform_;
  std::vector<std::string> pages_;
  std::string baseName_;
  std::optional<Result<std::string>> rendered_;
};

}  // namespace quelo
