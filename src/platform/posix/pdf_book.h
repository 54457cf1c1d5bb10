// Binds PDF documents into one: their sheets one after the other, with a bookmark per document
// at its first sheet.
#pragma once

#include <string>
#include <vector>

#include "automation/status.h"

namespace quelo {

struct PdfPart {
  std::string title;  // the bookmark, UTF-8
  std::string pdf;    // the document's bytes
};

Result<std::string> bindPdf(const std::vector<PdfPart>& parts);

}  // namespace quelo
