// The typed reporting API seen from inside, and the one road every report takes from a request
// to its pages:
//
//   source --preparePages--> ReportPages --+
//                                          +--reportJob--> ReportJob --runReport--> ReportOutcome
//   ReportRequest (+ FormExtras) ----------+
//
// makeReport opens the request's source itself and prepares its pages (a counted run is read as
// the pages are written; anything else is held whole and cut into views). The report form
// prepared its pages when it loaded, since its preview shows them; its Generate, clicked by the
// user or by the automatic report (and so by `quelo report`), describes its controls as a
// ReportRequest and goes through the same reportJob and runReport.
//
// Why the form's own choices sit in FormExtras rather than in the request: the request is the
// public, stable description of a report; the pages prepared for a preview, the single-page
// choice, the full internal settings and the automatic report's fallback name exist only because
// a form is on screen (or driven as if it were), and a caller of the library has no use for
// them. So the form adds them beside the request, and every rule that turns a request into a
// job (names, sums, pictures, settings, action, checks) is written once, here.
#pragma once

#include <varnikquelo/report.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "automation/status.h"
#include "report/report_job.h"
#include "report/report_settings.h"

namespace varnikquelo {

// The library's view into a ReportSource.
struct ReportSourceAccess {
  using Impl = ReportSource::Impl;
  static const std::shared_ptr<const Impl>& impl(const ReportSource& source) {
    return source.impl_;
  }
  static ReportSource make(std::shared_ptr<const Impl> impl) {
    return ReportSource(std::move(impl));
  }
};

}  // namespace varnikquelo

namespace quelo {

class FieldList;
class PageStream;
class Recordset;
struct Platform;

// A source that reports the records of `records`, from its first on.
varnikquelo::ReportSource recordsetSource(std::shared_ptr<Recordset> records);

struct AutomaticReport;

// Makes the report with the given services instead of the machine's own. With `automatic`, the
// automatic report's rules (report/automatic_report.h) complete the request once its records
// are counted and its first page is read, as AutoZeReporter's form would, and what they made is
// noted there; a report whose choices leave no field to output writes nothing and succeeds.
varnikquelo::ReportResult makeReport(const varnikquelo::ReportRequest& request, Platform& platform,
                                     AutomaticReport* automatic = nullptr);

// The pages of a report, prepared before its run.
struct ReportPages {
  std::vector<std::shared_ptr<Recordset>> pages;  // held whole: every page; streamed: page 1 alone
  std::shared_ptr<PageStream> stream;             // the pages, read as they are written
  int16_t pageCount = 0;                          // held whole: the pages and their records
  int32_t totalRecords = 0;
};

// The pages `total` records make at `pageSize` a page; an Error saying so when a report cannot
// hold that many (page numbers are 16-bit).
Result<int16_t> pageCountOf(int64_t total, int32_t pageSize);

// The pages of the counted run `records`, from its first record on, at `pageSize` a page, read
// as they are written: their number is known when the run's is (the run may be counted while it
// is read, see Counting::WhileRead), and the run refuses too many then.
ReportPages streamedPages(const std::shared_ptr<Recordset>& records, int32_t pageSize);

// The pages of `total` records of `records`, from its current record on, at `pageSize` a page
// (checked with pageCountOf first): read as they are written when `records` is a counted run,
// else views over its rows that copy nothing until written to.
Result<ReportPages> preparePages(const std::shared_ptr<Recordset>& records, int64_t total,
                                 int32_t pageSize);

// What only the report form adds to a request: its output fields come from the source itself,
// and its settings are the full ones in force (the request's public settings are not read).
struct FormExtras {
  bool allPages = true;
  int16_t currentPage = 1;  // without allPages, the page written alone
  SettingsRecord settings;
  // Picture fields were named: every cell is trimmed and looked at as a picture, even when no
  // field named matched a column.
  bool pictureFieldsNamed = false;
  std::string fallbackName;  // the page file name when the typed one is unusable; empty: refused
};

// Why a request makes no job; nothing is written. `part` says where the request is wrong, so
// that a form can put the focus there.
struct RequestFault {
  enum class Part { Fields, FileName, Other };
  varnikquelo::ReportError error;
  Part part = Part::Other;
};

// The job `request` describes over its prepared `pages`. The names it gives are checked against
// `known`, the source's fields (null: they come from the source and need no check). `form` is
// null for a request of the typed API.
std::variant<ReportJob, RequestFault> reportJob(const varnikquelo::ReportRequest& request,
                                                ReportPages pages, const FieldList* known,
                                                const FormExtras* form, Platform& platform);

}  // namespace quelo
