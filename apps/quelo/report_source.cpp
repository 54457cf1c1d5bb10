#include "report_source.h"

#include "data/recordset/recordset.h"

namespace quelo::cli {

void useSampleDefaults(ReportOptions& options) {
  if (options.source != SourceKind::Sample) return;
  if (options.picFields.isMissing()) options.picFields = Variant(kSamplePictureField);
  if (options.graphicFolder.isMissing()) options.graphicFolder = Variant(samplePictureFolder());
}

Result<std::shared_ptr<Recordset>> openReportSource(const ReportOptions& options) {
  // The report drops its pages when the source fails part-way, so the rows are counted while
  // the pages are written.
  return openSource({.kind = options.source, .location = options.location, .query = options.query, .csv = options.csv},
                    Counting::WhileRead);
}

}  // namespace quelo::cli
