// The page writer: one section of at most five records, appended to its page file as one complete
// HTML document (heading, header material, section links, the table, and in the section that
// closes the page the statistics, footer material and links to the other pages). The document is
// written byte for byte as reports have always been written, including the markup quirks that
// readers of old reports know (an unquoted font list, a colour in square brackets).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/status.h"
#include "platform/file_system.h"
#include "report/page_links.h"
#include "report/report_job.h"
#include "report/report_statistics.h"

namespace quelo {

class FieldList;
class PageRecords;
class ReportPictures;

// The records of a section; a page's last section may hold fewer.
inline constexpr int32_t kSectionRecords = 5;

// A page of the report as its sections are written.
struct PagePlace {
  std::string filePath;  // the open page file's path
  std::string heading;   // the heading of the page's first section
  int16_t page = 1;
  int16_t totalPages = 1;  // 0 while not known: the page is written without its end (see below)
  int32_t records = 0;
  int32_t totalRecords = 0;   // over all pages, for the overall statistics; 0 while not known
  int32_t wholeSections = 0;  // sections of five records; a last short section is not counted
};

// The product text inside every report's generator tag.
inline constexpr const char* kGeneratorText = "ZeQuelo Report by VarnikQuelo for Linux";

// The start of a section's table and where its output fields are, worked out once for the
// field list of the run's records.
struct TableColumns {
  const FieldList* fieldsOf = nullptr;
  std::vector<std::optional<int>> fields;  // by output position; none for a field not there
  std::vector<bool> counted;  // by output position: whether statistics show its numbers
  std::string heading;
};

// Writes the sections of one run of a job. It keeps what runs from one section to the next: the
// statistics (page statistics cover all of a page's sections, the overall ones all pages), the
// links every section or page repeats, and the room of the section text.
class PageWriter {
 public:
  // `pictures`: the run's pictures, copies and missing files; none: pictures as they are.
  PageWriter(const ReportJob& job, FileSystem& files, ReportPictures* pictures);

  // Appends section `index` of `page` (0 is the page's first) to `text` as one document and
  // updates the statistics. The section's records are the next five of `records` (fewer at the
  // page's end), read past. Whatever fails is skipped, as a report never stops for one bad value.
  void appendSection(PageText& text, const PagePlace& page, PageRecords& records, int32_t index);
  // Appends every section of `page`: sections of five records read in order; a last short
  // section holds the rest.
  void appendPage(PageText& text, const PagePlace& page, PageRecords& records);
  // Appends the end of `page`'s last section: the links to the other pages and the close of the
  // document. A page whose number of pages was not known when it was written is written without
  // it, and its end is appended once that is known; it is never the last page.
  void appendPageEnd(PageText& text, const PagePlace& page);

  // What runs from one section to the next, for a page written apart from the run's others.
  ReportStatistics& statistics() { return statistics_; }

 private:
  const ReportJob& job_;
  FileSystem& files_;
  ReportPictures* pictures_;
  ReportStatistics statistics_;
  std::optional<SectionLinks> sectionLinks_;  // every section of a page has the same links
  PageNavigation navigation_;
  TableColumns columns_;
};

}  // namespace quelo
