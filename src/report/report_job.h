// A report as a value: what one report writes (its pages, fields, sums, headings, colour, the
// settings in force and where the pages go), the progress sink a run reports to and may be
// cancelled through, and the outcome of a run. The typed API and the report form make their jobs
// from a report request (report/report_api.h); a job built in code runs the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/report_output.h"
#include "report/report_settings.h"

namespace quelo {

class PageStream;
class Recordset;

// A field whose values name picture files, and the folder they are in (with a trailing separator).
struct PictureColumn {
  std::string field;
  std::string folder;
};

struct ReportJob {
  std::vector<std::shared_ptr<Recordset>>
      pages;  // page p at index p - 1; a null page is not written
  // When set, the records are read from it as the pages are written, `pageCount` pages of them
  // (`pages` holds the first only, for the preview).
  std::shared_ptr<PageStream> stream;
  int16_t pageCount = 0;
  int32_t totalRecords = 0;  // over all pages, for the overall statistics
  bool allPages = true;
  // Without allPages, the one page written: it keeps its number in its heading, but is written
  // as the only page, to the base name.
  int16_t currentPage = 1;

  std::vector<std::string> fields;  // the output fields, in order
  std::vector<std::string> sums;    // the fields summed, in the order the statistics list them
  std::vector<PictureColumn> pictureColumns;
  bool containPictureFields = false;  // picture cells are written as pictures

  std::string title;
  std::string dateLine;         // the heading's second line; empty: the title is repeated there
  std::string colour;           // the tables' background colour
  std::string baseName;         // the page file name, before the page number is put in
  std::string applicationPath;  // the pages go to its Reports folder; ends in a separator

  bool advSettings = false;  // the settings below are in force: header, notes, statistics ...
  SettingsRecord settings;
  ReportOutput output;
  bool openInBrowser = false;  // the first page, when the run ends
  bool print = false;          // every page, when the run ends
};

// Where a run is, before each of a page's section slots.
struct SectionStep {
  int16_t totalPages = 0;  // 1 when the job writes one page only
  int16_t page = 0;
  int32_t elapsedSeconds = 0;
};

// What a run reports to: a status display, a host's event, a command's progress bar.
class ReportProgress {
 public:
  virtual ~ReportProgress() = default;
  virtual void step(const SectionStep& where) = 0;
  // Asked after each step: a run that is cancelled writes no further page.
  virtual bool cancelled() const = 0;
  // Asked when a cancelled run ends: the pages written are deleted too.
  virtual bool deleteOnCancel() const = 0;
};

struct ReportOutcome {
  std::vector<std::string> files;     // the page files put in place whole, in page order
  std::vector<std::string> errors;    // what could not be written
  std::vector<std::string> warnings;  // written, but not as asked (a missing picture, no browser)
  std::string refusal;      // why nothing was written at all; empty when it was not refused
  std::string sourceError;  // the source failed part-way: no page was put in place
  bool cancelled = false;
};

}  // namespace quelo
