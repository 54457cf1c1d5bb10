// How one report writes its pages beyond the classic format. Every choice is off by default, so a
// report that asks for none is written byte for byte as reports always were.
#pragma once

namespace quelo {

struct ReportOutput {
  bool escapeValues = false;  // record values written as text: markup in the data shows as typed
  bool copyPictures = false;  // pictures copied beside the pages and referred to relatively
  bool replaceEarlier =
      false;  // the pages of an earlier report under the same name removed as these go in place
  bool pdf = false;  // the whole report also rendered into NAME.pdf beside its pages
};

}  // namespace quelo
