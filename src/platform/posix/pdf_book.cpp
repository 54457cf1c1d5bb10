#include "platform/posix/pdf_book.h"

// qpdf's own smart pointers are std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4

#include <exception>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <utility>

namespace quelo {
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

std::string written(QPDF& book) {
  QPDFWriter writer(book);
  writer.setOutputMemory();
  writer.setObjectStreamMode(qpdf_o_generate);
  writer.write();
  const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
  return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

}  // namespace

Result<std::string> bindPdf(const std::vector<PdfPart>& parts) {
  try {
    QPDF book;
    book.emptyPDF();
    QPDFPageDocumentHelper sheets(book);
    std::vector<Bookmark> bookmarks;
    for (const PdfPart& part : parts) {
      // Each document is read, its sheets copied whole, and closed: the book never holds more
      // than one document open.
      QPDF source;
      source.setSuppressWarnings(true);
      source.setImmediateCopyFrom(true);
      source.processFile(part.path.c_str());
      bool first = true;
      for (QPDFPageObjectHelper& sheet : QPDFPageDocumentHelper(source).getAllPages()) {
        // The report's links lead to named places of its pages and to its other pages as files;
        // the book keeps neither, so they would lead nowhere. Reading them costs the binding far
        // more memory than the sheets' text (about a megabyte a sheet of a long table).
        sheet.getObjectHandle().removeKey("/Annots");
        sheets.addPage(sheet, false);
        if (first) bookmarks.emplace_back(part.title, book.getAllPages().back());
        first = false;
      }
    }
    Object root = book.getRoot();
    root.replaceKey("/Outlines", outlineOf(book, bookmarks));
    root.replaceKey("/PageMode", Object::newName("/UseOutlines"));
    return written(book);
  } catch (const std::exception& e) {
    return makeError(err::kIoError, std::string("Cannot bind the rendered pages: ") + e.what());
  }
}

}  // namespace quelo
