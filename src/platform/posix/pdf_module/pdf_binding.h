// The PDF binder's entry point. The binder is a module of its own (libquelo-pdf.so), loaded when a
// report is first printed, so that a program that never prints does not load libqpdf and the
// libraries it brings (TLS, images, compression). Its face is plain C: the module shares no type
// and no allocator state with the program that loads it.
#pragma once

#include <stddef.h>

#define QUELO_PDF_MODULE "libquelo-pdf.so"
#define QUELO_PDF_ENTRY "quelo_bind_pdf"

extern "C" {

// Binds `count` PDF files into one book: their sheets one after the other, with a bookmark per file
// (its title, UTF-8) at its first sheet. On success returns 1 with the book in *book (*bookSize
// bytes); on failure returns 0 with what went wrong in *error (a NUL-terminated text). Either
// buffer is the caller's to release with free().
using QueloBindPdf = int (*)(size_t count, const char* const* titles, const char* const* paths,
                             char** book, size_t* bookSize, char** error);

}
