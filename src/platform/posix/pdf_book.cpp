#include "platform/posix/pdf_book.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/library_folder.h"
#include "platform/posix/pdf_module/pdf_binding.h"

namespace quelo {
namespace {

// Where the binder module may lie: found by the loader's own search (LD_LIBRARY_PATH), in the
// private library folder beside an installed libquelo, in the one beside an installed program that
// holds the library itself, and last where the build that made this code put it (a program run
// from its build tree).
std::vector<std::string> moduleCandidates() {
  const std::string folder = libraryFolder();
  return {QUELO_PDF_MODULE, folder + QUELO_PDF_BESIDE_LIBRARY "/" QUELO_PDF_MODULE,
          folder + QUELO_PDF_BESIDE_PROGRAM "/" QUELO_PDF_MODULE, QUELO_PDF_BUILT};
}

}  // namespace

Result<QueloBindPdf> loadPdfBinder(const std::vector<std::string>& candidates) {
  std::string tried;
  for (const std::string& candidate : candidates) {
    // The module stays loaded for the rest of the process, as later prints use it again.
    if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      if (void* entry = ::dlsym(module, QUELO_PDF_ENTRY)) return reinterpret_cast<QueloBindPdf>(entry);
      ::dlclose(module);
      return makeError(err::kFileNotFound, candidate + " lacks " QUELO_PDF_ENTRY);
    }
    tried += std::string("\n  ") + ::dlerror();
  }
  return makeError(err::kFileNotFound, "Printing needs the PDF binder " QUELO_PDF_MODULE
                                       " (installed with libquelo; it needs libqpdf), which cannot be loaded:" +
                                           tried);
}

namespace {

Result<QueloBindPdf> binder() {
  static const Result<QueloBindPdf> loaded = loadPdfBinder(moduleCandidates());
  return loaded;
}

struct Freed {
  void operator()(char* p) const { std::free(p); }
};

}  // namespace

Result<std::string> bindPdf(const std::vector<PdfPart>& parts) {
  auto bind = binder();
  if (!bind) return bind.error();
  std::vector<const char*> titles, paths;
  for (const PdfPart& part : parts) {
    titles.push_back(part.title.c_str());
    paths.push_back(part.path.c_str());
  }
  char* book = nullptr;
  char* error = nullptr;
  size_t size = 0;
  const int bound = bind.value()(parts.size(), titles.data(), paths.data(), &book, &size, &error);
  const std::unique_ptr<char, Freed> bookHeld(book), errorHeld(error);
  if (!bound)
    return makeError(err::kIoError, std::string("Cannot bind the rendered pages: ") + (error ? error : "out of memory"));
  return std::string(book, size);
}

}  // namespace quelo
