// The page writer: one section of at most five records, appended to its page file as one complete
// HTML document (heading, header material, section links, the table, and in the section that
// closes the page the statistics, footer material and links to the other pages). The document is
// written byte for byte as reports have always been written, including the markup quirks that
// readers of old reports know (an unquoted font list, a colour in square brackets).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "automation/status.h"
#include "reporter/report_settings.h"

namespace quelo {

class Recordset;
class ReportPictures;
struct PreviewTables;

// What the writer reads of the report form, the settings and the settings form for a section.
struct SectionContext {
  int16_t curPage = 1;
  int16_t totalPage = 1;
  int32_t numRecsOnPage = 0;
  int32_t cumTotalRecs = 0;
  bool containPictureFields = false;
  bool advSettings = false;                 // the settings form's in-force flag
  const ReportSettings* settings = nullptr;  // the working settings
  const PreviewTables* previewTables = nullptr;  // the report form's grid columns and picture folders
  // The settings form's field list: each numeric field and whether it is marked for summing.
  std::vector<std::pair<std::string, bool>> sumFields;
  FileSystem* files = nullptr;  // for the short forms of picture and local paths
  bool escapeValues = false;           // record values as text rather than markup
  ReportPictures* pictures = nullptr;  // the run's pictures: copies and missing files; none: as they are
};

// The product text inside every report's generator tag.
inline constexpr const char* kGeneratorText = "ZeQuelo Report by VarnikQuelo for Linux";

// Appends the section document to `page` (the open page file at `filePath`) and updates the
// statistics. outputNames holds fieldCount names (a further empty element may follow). On return
// the section is on its first record. A failed write is returned; everything else that fails is
// skipped, as a report never stops for one bad value.
Status WriteReportSection(OutputFile& page, const std::string& filePath, Recordset& section, int32_t fieldCount,
                          const std::vector<std::string>& outputNames, const std::string& heading,
                          int32_t sectionCount, const std::string& tableColour, const SectionContext& ctx);

}  // namespace quelo
