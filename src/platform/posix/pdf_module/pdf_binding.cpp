// The PDF binder module: binds the documents a browser printed into one book with libqpdf.
#include "platform/posix/pdf_module/pdf_binding.h"

// qpdf's own smart pointers are std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using Object = QPDFObjectHandle;

// The outline: one item per document, in order, each showing its first sheet whole.
using Bookmark = std::pair<std::string, Object>;  // a title and the sheet it shows

Object outlineOf(QPDF& book, const std::vector<Bookmark>& bookmarks) {
  Object outlines = book.makeIndirectObject(Object::newDictionary());
  outlines.replaceKey("/Type", Object::newName("/Outlines"));
  Object previous;
  for (size_t i = 0; i < bookmarks.size(); ++i) {
    Object item = book.makeIndirectObject(Object::newDictionary());
    item.replaceKey("/Title", Object::newUnicodeString(bookmarks[i].first));
    item.replaceKey("/Parent", outlines);
    item.replaceKey("/Dest", Object::newArray({bookmarks[i].second, Object::newName("/Fit")}));
    if (i == 0)
      outlines.replaceKey("/First", item);
    else {
      item.replaceKey("/Prev", previous);
      previous.replaceKey("/Next", item);
    }
    previous = item;
  }
  if (!bookmarks.empty()) outlines.replaceKey("/Last", previous);
  outlines.replaceKey("/Count", Object::newInteger(static_cast<long long>(bookmarks.size())));
  return outlines;
}

std::shared_ptr<Buffer> written(QPDF& book) {
  QPDFWriter writer(book);
  writer.setOutputMemory();
  writer.setObjectStreamMode(qpdf_o_generate);
  writer.write();
  return writer.getBufferSharedPointer();
}

// A copy in memory the caller releases with free().
char* copied(const std::string& text) {
  char* out = static_cast<char*>(std::malloc(text.size() + 1));
  if (out) std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

std::shared_ptr<Buffer> bound(size_t count, const char* const* titles, const char* const* paths) {
  QPDF book;
  book.emptyPDF();
  QPDFPageDocumentHelper sheets(book);
  std::vector<Bookmark> bookmarks;
  for (size_t i = 0; i < count; ++i) {
    // Each document is read, its sheets copied whole, and closed: the book never holds more
    // than one document open.
    QPDF source;
    source.setSuppressWarnings(true);
    source.setImmediateCopyFrom(true);
    source.processFile(paths[i]);
    bool first = true;
    for (QPDFPageObjectHelper& sheet : QPDFPageDocumentHelper(source).getAllPages()) {
      // The report's links lead to named places of its pages and to its other pages as files;
      // the book keeps neither, so they would lead nowhere. Reading them costs the binding far
      // more memory than the sheets' text (about a megabyte a sheet of a long table).
      sheet.getObjectHandle().removeKey("/Annots");
      sheets.addPage(sheet, false);
      if (first) bookmarks.emplace_back(titles[i], book.getAllPages().back());
      first = false;
    }
  }
  Object root = book.getRoot();
  root.replaceKey("/Outlines", outlineOf(book, bookmarks));
  root.replaceKey("/PageMode", Object::newName("/UseOutlines"));
  return written(book);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int quelo_bind_pdf(
    size_t count, const char* const* titles, const char* const* paths, char** book, size_t* bookSize,
    char** error) {
  *book = nullptr;
  *error = nullptr;
  try {
    const std::shared_ptr<Buffer> pdf = bound(count, titles, paths);
    *book = static_cast<char*>(std::malloc(pdf->getSize() + 1));
    if (!*book) throw std::bad_alloc();
    std::memcpy(*book, pdf->getBuffer(), pdf->getSize());
    *bookSize = pdf->getSize();
    return 1;
  } catch (const std::exception& e) {
    *error = copied(e.what());
    return 0;
  }
}
static_assert(std::is_same_v<decltype(&quelo_bind_pdf), QueloBindPdf>);
