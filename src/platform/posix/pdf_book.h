// Binds PDF documents into one (through the binder module, loaded when first needed): their sheets one after the other, with a bookmark per document
// at its first sheet. Each document is read from its file and closed before the next, so binding a
// long report holds one document at a time. The sheets' links are not kept: they lead to places and
// pages of the report by names and files the book does not carry.
#pragma once

#include <string>
#include <vector>

#include "automation/status.h"
#include "platform/posix/pdf_module/pdf_binding.h"

namespace quelo {

struct PdfPart {
  std::string title;  // the bookmark, UTF-8
  std::string path;   // the document's file, read as the book is written
};

Result<std::string> bindPdf(const std::vector<PdfPart>& parts);

// The binder's entry point from the first of `candidates` (file names or paths of the module) that
// loads; an error naming each one tried when none does.
Result<QueloBindPdf> loadPdfBinder(const std::vector<std::string>& candidates);

}  // namespace quelo
