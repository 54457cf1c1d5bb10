// The typed reporting API: a report of HTML pages from an SQLite query, a CSV file, a PostgreSQL,
// ODBC or ClickHouse query or a host's records, described by a ReportRequest and made by makeReport. The pages
// go to the Reports folder under the request's application path; the result lists the pages
// written, what was written but not as asked, or why nothing (or not everything) was written.
//
// Exceptions: none leaves makeReport (see ReportRequest::progress and RecordCursor::next).
// Threads: makeReport runs on the caller's thread with services of its own; calls on different
// threads may run at once.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <varnikquelo/export.h>
#include <varnikquelo/records.h>

namespace varnikquelo {

// Where the records come from. A source is opened when the report is made and read once, a page
// at a time, as the pages are written: an SQL query (SQLite, PostgreSQL, ODBC, ClickHouse) runs once, its
// rows kept meanwhile in a private scratch file in $TMPDIR; a CSV file is read for its types
// first; a host's records are read as they come when they tell their count, else kept as the
// query's rows are. A report is all or nothing against its source: one that fails at any row
// leaves every page, new or earlier, as it was, and makeReport answers SourceFailed with the
// source's message.
class QUELO_API ReportSource {
 public:
  ReportSource();  // no source: makeReport answers ReportErrorCode::NoSource
  static ReportSource sqlite(std::string databaseFile, std::string query);
  static ReportSource csv(std::string file, char delimiter = ',');
  static ReportSource csv(std::string file, char delimiter, std::string encoding);  // as Records::csv
  static ReportSource postgres(std::string connectionString, std::string query);
  static ReportSource odbc(std::string connection, std::string query);
  static ReportSource clickhouse(std::string url, std::string query);
  static ReportSource records(const Records& records);
  static ReportSource records(std::shared_ptr<const RecordSource> host);


 private:
  // What a source holds is the library's own.
  struct Impl;
  friend struct ReportSourceAccess;
  explicit ReportSource(std::shared_ptr<const Impl> impl);
  std::shared_ptr<const Impl> impl_;
};

// What is done with the pages once they are written.
enum class ReportAction { None = 0, Print = 1, Browse = 10, BrowseAndPrint = 11 };

// The optional parts of a page: header and footer lines, notes, a logo and a signature picture,
// the maker's web site and mail address, the font of the tables.
struct ReportSettings {
  std::string fontName;
  std::string header;
  std::string footer;
  std::string notes;           // empty: no notes
  bool notesAtBottom = false;  // under the last page's table instead of above the first's
  std::string logo;            // picture files
  std::string signature;
  std::string website;
  std::string email;
};

// Where a run is: called before each section of five records of a page.
struct ReportStep {
  int totalPages = 0;
  int page = 0;
  int elapsedSeconds = 0;
};

struct ReportRequest {
  ReportSource source;
  std::vector<std::string> fields;  // the output fields, in order; empty: every field of the source
  std::vector<std::string> sums;    // the fields summed in the statistics
  std::map<std::string, std::string> pictures;  // a field naming picture files -> their folder
  std::string title = " Records ";
  std::string dateLine;                // the heading's second line; empty: the title again
  std::string colour = "WHITE";        // the tables' background
  std::string fileName = "report.htm"; // the first page's name; later pages put their number before .htm
  std::string applicationPath;         // the pages go to its Reports folder; empty: the current folder
  int recordsPerPage = 10;
  bool useSettings = false;  // the settings below are written (with the statistics)
  ReportSettings settings;
  ReportAction action = ReportAction::None;
  bool copyPictures = false;    // pictures copied beside the pages, referred to relatively
  bool escapeValues = false;    // markup in the data written as text
  bool replaceEarlier = false;  // an earlier report's pages under the same name removed as these go in place
  // The whole report also as NAME.pdf beside the pages (NAME.htm the first page's name): every
  // page rendered as a browser shows it, one after the other, with a bookmark per page. It needs
  // the chromium package; a PDF that cannot be made is a warning, the pages stay as written.
  bool pdf = false;
  // Called at every step, on the caller's thread, inside makeReport; returning false cancels the
  // run: no further page is written, and the pages completed before it are put in place. An
  // exception it throws cancels the run too, and the result's Cancelled error names it: no
  // exception leaves makeReport.
  std::function<bool(const ReportStep&)> progress;
  bool deleteOnCancel = false;  // a cancelled run puts no page in place; earlier pages stay
};

enum class ReportErrorCode {
  None = 0,
  NoSource,      // the request names no source
  SourceFailed,  // the source could not be opened or read; no page was put in place
  NoRecords,     // the source holds no record
  UnknownField,  // a field, sum or picture field the source does not have
  BadRequest,    // no usable file name, a page size below one, too many pages or fields
  PagesLost,     // some pages could not be written
  Cancelled,     // the progress callback cancelled the run
};

struct ReportError {
  ReportErrorCode code = ReportErrorCode::None;
  std::string message;
};

struct ReportResult {
  std::vector<std::string> pages;     // the page files written, in page order
  std::vector<std::string> warnings;  // written, but not as asked (a missing picture, no browser)
  ReportError error;
  bool ok() const { return error.code == ReportErrorCode::None; }
};

QUELO_API ReportResult makeReport(const ReportRequest& request);

}  // namespace varnikquelo
