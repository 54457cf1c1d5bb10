#include "report/report_document.h"

#include "component/platform.h"
#include "report/url_path.h"

namespace quelo {

std::string pdfFileName(const std::string& baseName) {
  return baseName.substr(0, baseName.rfind('.')) + ".pdf";
}

const Result<std::string>& ReportDocument::rendered() {
  if (rendered_) return *rendered_;
  std::vector<PageToRender> pages;
  for (const std::string& page : pages_)
    pages.push_back({fileUrl(page), page.substr(page.find_last_of("/\\") + 1)});
  if (!platform_.renderer)
    rendered_ = Result<std::string>(makeError(err::kFileNotFound, "no HTML renderer"));
  else
    rendered_ = platform_.renderer->renderPdf(pages);
  return *rendered_;
}

Status ReportDocument::writeBeside(const std::string& folder) {
  const Result<std::string>& pdf = rendered();
  if (!pdf) return pdf.error();
  FileSystem& files = *platform_.files;
  auto lock = files.lockFolder(folder);
  if (!lock) return lock.error();
  auto file = files.beginReplacement(folder + pdfFileName(baseName_));
  if (!file) return file.error();
  if (Status s = file.value()->write(pdf.value()); !s) return s;
  return file.value()->close();
}

Status ReportDocument::print() {
  const Result<std::string>& pdf = rendered();
  if (!pdf) return pdf.error();
  if (!platform_.shell) return makeError(err::kFileNotFound, "no print system");
  return platform_.shell->printPdf(pdf.value(), pdfFileName(baseName_));
}

}  // namespace quelo
