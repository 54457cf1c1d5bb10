#include "platform/posix/pdf_book.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

using testing::ScratchDir;

// Binding what the browser printed is observed whole by the renderer's tests; these are its faults.
TEST(PdfBook, ADocumentThatCannotBeReadIsAnErrorThatSaysSo) {
  ScratchDir dir;
  dir.write("not.pdf", "<html>not a PDF</html>");
  for (const std::string& path : {dir / "not.pdf", dir / "missing.pdf", std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    auto book = bindPdf({{"Page 1", path}});
    ASSERT_FALSE(book);
    EXPECT_NE(book.error().message.find("Cannot bind the rendered pages: "), std::string::npos);
  }
}

TEST(PdfBook, AMissingOrWrongModuleIsAnErrorNamingWhatWasTried) {
  auto none = loadPdfBinder({"/nonexistent/libquelo-pdf.so", "libquelo-pdf-nowhere.so"});
  ASSERT_FALSE(none);
  EXPECT_NE(none.error().message.find("Printing needs the PDF binder"), std::string::npos);
  EXPECT_NE(none.error().message.find("/nonexistent/libquelo-pdf.so"), std::string::npos);
  EXPECT_NE(none.error().message.find("libquelo-pdf-nowhere.so"), std::string::npos);
  auto wrong = loadPdfBinder({"libc.so.6"});
  ASSERT_FALSE(wrong);
  EXPECT_NE(wrong.error().message.find("lacks quelo_bind_pdf"), std::string::npos);
}

}  // namespace
}  // namespace quelo
