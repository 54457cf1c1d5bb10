// quelo report: an automatic report on one data source, made as the typed API makes a report,
// with the automatic report's rules (records per page, file name, fields, sums, settings): its
// records are read once as the pages are written. Progress and cancelling go through the run's
// progress callback; where a rule changes what the user typed, a note on stderr says so.
#include <signal.h>
#include <unistd.h>

#include <iostream>

#include "automation/text.h"
#include "commands.h"
#include "control/default_services.h"
#include "data/recordset/recordset.h"
#include "platform/posix/posix_file_system.h"
#include "progress_bar.h"
#include "report/automatic_report.h"
#include "report/report_api.h"
#include "report_notes.h"
#include "report_options.h"
#include "report_source.h"

namespace quelo::cli {
namespace {

constexpr int kExitInterrupted = 130;
constexpr int32_t kDefaultRecordsPerPage = 10;

constexpr const char* kHelp = R"(usage: quelo report [SOURCE] [OPTIONS]

Writes an automatic report of one data source as linked HTML pages under DIR/Reports/, where
DIR is the shared application path (--app-path). It follows the rules of the control's
AutoZeReporter; where one of them changes what you typed (records per page, file name), a line
"quelo: note: ..." on stderr says what came of it and why.

SOURCE, at most one; none means the bundled sample data (a few dozen products with pictures):
  --sqlite FILE --query SQL
  --csv FILE                 RFC 4180, UTF-8; the first line holds the field names. FILE - is
                             standard input; it (like a FIFO) is read once, into memory. A
                             quote inside a field that does not start with one is a character
                             (12" pipe)
    --delimiter C            the character between the fields of the CSV file: ";", "|" ...,
                             "\t" or tab for a tab (default: a comma; a tab for a .tsv file)
    --encoding NAME          the file's text encoding when it is not UTF-8, as iconv names it
                             (WINDOWS-1252 for a spreadsheet's export, ISO-8859-15, UTF-16 ...;
                             iconv -l lists them); a byte that is no character of it is an
                             error naming the line
    --strict-quotes          refuse a quote inside a field that does not start with one
  --postgres CONNINFO --query SQL
  --odbc CONNECTION --query SQL
                             any database with an ODBC driver (unixODBC): a connection string
                             ("DRIVER=...;SERVER=...;DATABASE=...", "DSN=NAME;UID=...") or a data
                             source name; SQL is one query (SELECT, WITH, VALUES, TABLE or SHOW),
                             refused when anything but comments follows its ";" or when it
                             writes a file (INTO OUTFILE); it runs in a read-only transaction
                             that is always rolled back. Functions a server allows in such a
                             transaction (file exports such as lo_export) are the account's to
                             forbid: give reports an account that can only read
  --clickhouse URL --query SQL
                             a ClickHouse server (or a Distributed table's cluster) over HTTP:
                             http://[USER[:PASSWORD]@]HOST[:PORT][/?database=NAME] (https too;
                             ClickHouse listens on port 8123, the URL's default is 80). SQL is
                             one query, refused as for --odbc; it runs with the server's
                             readonly=1, which refuses writes and setting changes. The server's
                             exception ends the report with its words, also when it comes
                             after some rows. A password in the URL shows in the process list

options:
  --app-path DIR        the shared application path (default: the current folder)
  --file NAME           the report's file name, in lower case (default AutoGenRep): name.htm, or
                        name1.htm, name2.htm ... when there are several pages; no control
                        characters (nor in --app-path), since paths are printed one a line.
                        Only a lower-case .htm or .asp counts as the extension (Sales.HTM gives
                        sales.htm.htm: pages sales1.htm1.htm, sales2.htm2.htm ...); a folder is
                        dropped and the rest read in capitals; a name with a blank must name a
                        file in the current folder, else the report is named zereport.htm; a
                        note says so
  --title TEXT          the report's title (default "Auto-Generated Report")
  --action N            0 neither browser nor printer (default), 1 print, 10 open the first page
                        in the browser, 11 both (see PRINTING). A browser or printer that cannot
                        be reached is a warning on stderr; the exit status stays 0, as the
                        pages are written
  --pic-fields LIST     comma-separated names of fields that hold picture file names (each
                        must be a field of the data)
  --graphic-folder DIRS the folder of the pictures, or a comma-separated list paired with
                        --pic-fields (default: the application path); relative to the
                        current folder; each must exist. A picture file that is missing is a
                        warning on stderr naming the field and the file
  --copy-pictures       copy each picture (logo and signature too) once into
                        DIR/Reports/pictures/ and refer to it from there, so the Reports folder
                        can be moved, zipped or served as it is (pictures of the same name are
                        numbered: photo-2.jpg ...; nothing in that folder is overwritten). Only
                        regular files that start as a picture are copied, never readable by
                        more people than their source; anything else is a warning on stderr
  --escape-values       write the values and field names of the data as text: "<", ">", "&"
                        and quotes show as typed instead of acting as markup. Use it for data
                        you did not write: without it, markup in a value (a <script> too) is
                        markup in the page
  --replace             remove the pages of an earlier report under the same file name
                        (NAME.htm and NAME1.htm, NAME2.htm ... in DIR/Reports/, nothing else)
                        as this report's pages are put in place, so the pages hold this report
                        alone (two runs at once too); without it a report is appended to the
                        pages of an earlier one, as reports always were
  --pdf                 also write the whole report as DIR/Reports/NAME.pdf (NAME.htm being the
                        first page's name): the pages as a browser shows them, one after the
                        other, with a bookmark per page; the pages themselves are written as
                        without it. An earlier NAME.pdf is replaced whole; a link or special file
                        of that name is left alone. Needs chromium (see PRINTING); a PDF that
                        cannot be made is a warning on stderr and does not change the exit status
  --max-recs N          records per page, 1 to 32767 (default 10); reports of more than 100
                        pages get 200 records a page (a note says so when N was given)
  --company NAME        accepted for scripts written for earlier versions; no report shows it
  --setting NAME=VALUE  a report setting: Ra_Header, Ra_Footer, Ra_UseNotes, Ra_NotesOnTop,
                        Ra_Notes, Ra_Logo, Ra_Signature, Ra_Website, Ra_Email or Ra_AllPages.
                        With any --setting, those not given keep the stored preferences; with
                        none, the report has no header, footer or notes, covers all pages and
                        takes logo, signature, website and e-mail from the stored preferences
  --field NAME=N        a field choice: N <= 0 leaves the field out, 2 outputs it and sums it,
                        any other N outputs it without summing; with any --field, fields not
                        named are output and summed
  --cancel-at-page P    cancel the report when it reaches page P (the pages before it are kept)
  --delete-on-cancel    put no page of a cancelled report in place (earlier pages stay as they were)
  --quiet               no progress bar (one is drawn on stderr when it is a terminal)

A report is all or nothing against its source: its pages are built beside the pages and put
in place together at the end. A source that fails at any row leaves every page, new or earlier,
as it was (exit 2). A cancelled report keeps the pages completed before the cancel (none with
--delete-on-cancel). A killed run leaves every page as it was or whole; the next run removes
what it left. SQLite, PostgreSQL, ODBC and ClickHouse queries run once, their rows kept meanwhile in a
private scratch file in $TMPDIR (else /tmp).

PRINTING: the pages are rendered as a browser shows them (tables, colours, pictures) by
chromium in headless mode (Debian package chromium; $QUELO_CHROMIUM names another build of it),
reading local files only, with no script and no network, and the report is handed to the print
system as one PDF job, pages in order, on the default printer (lp: Debian packages cups-client,
and cups for a print server; $PRINTER or lpoptions -d choose the printer). The HTML itself is
never sent to a printer. A missing renderer or print system, or a job the print system refuses,
is a warning on stderr naming what is missing; the pages stay written.

Ctrl-C cancels the report cleanly: the pages completed so far are kept (none with
--delete-on-cancel); a second Ctrl-C stops at once. Report preferences are read from the
settings store under $XDG_CONFIG_HOME and never written: the settings given here hold for this
report alone. A store that is a symlink, another user's file or corrupt is not used (one line
on stderr says why) and the report takes the default preferences. $QUELO_SAMPLE_DIR overrides the folder of the sample data.

stdout: the full path of every page file put in place, one a line, in page order; a page
that could not be written is left as it was and not listed.
exit status: 0 when the report was generated (or cancelled with --cancel-at-page; warnings on
stderr do not change it), 1 when it was not (no records; more than 32767 pages or 32000 output
fields, refused before anything is written; or pages that could not be written), 2 on a usage
or data-source error (a source that fails part-way too), 130 when interrupted by Ctrl-C.
)";

volatile sig_atomic_t interruptRequested = 0;

void onInterrupt(int) {
  interruptRequested = 1;
}

// The first Ctrl-C asks for a clean cancel; the handler then resets, so a second one stops at once.
void catchInterrupt() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

// One line on stderr, as every message of the command is.
void say(const std::string& message) {
  std::cerr << "quelo: " << message << "\n";
}

// Why the report was not made, in one line; the exit status that goes with it.
std::pair<std::string, int> failure(const varnikquelo::ReportError& error) {
  using varnikquelo::ReportErrorCode;
  switch (error.code) {
    case ReportErrorCode::SourceFailed:
      return {error.message, kExitUsage};
    case ReportErrorCode::NoRecords:
      return {"no records to report: the data source gave none", kExitFalse};
    case ReportErrorCode::PagesLost: {
      const std::vector<std::string> errors = splitText(error.message, "\n");
      std::string reason = "the report could not be written: " + errors.front();
      if (errors.size() > 1)
        reason += " (and " + std::to_string(errors.size() - 1) + " more errors)";
      return {reason, kExitFalse};
    }
    default:
      return {error.message.empty() ? "the report could not be generated" : error.message,
              kExitFalse};
  }
}

// A --field or --pic-fields name that is no field of the data, or a --graphic-folder that is
// no folder, is a mistake the report would silently ignore.
Status checkFieldNames(const ReportOptions& options, const Recordset& records) {
  for (const std::string& name : options.fieldNames)
    if (!records.fieldIndex(name))
      return makeError(0, "--field " + name + ": the data has no field of that name");
  if (options.picFields.isString())
    for (const std::string& part : splitText(options.picFields.asString(), ","))
      if (const std::string name = trimSpaces(part); !name.empty() && !records.fieldIndex(name))
        return makeError(0, "--pic-fields " + name + ": the data has no field of that name");
  if (options.graphicFolder.isString())
    for (const std::string& part : splitText(options.graphicFolder.asString(), ","))
      if (const std::string folder = trimSpaces(part);
          !folder.empty() && !PosixFileSystem().isDirectory(folder))
        return makeError(0, "--graphic-folder " + folder + ": no such folder");
  return Status::ok();
}

std::string textOf(const Variant& option) {
  return option.isString() ? option.asString() : std::string();
}

// The report the options ask for, and what the automatic report's rules take beside it.
varnikquelo::ReportRequest requestOf(const ReportOptions& o, std::shared_ptr<Recordset> records) {
  varnikquelo::ReportRequest request;
  request.source = recordsetSource(std::move(records));
  request.title = automaticTitle(textOf(o.title));
  request.fileName = automaticFileName(textOf(o.fileName));
  request.applicationPath = absoluteFolder(o.appPath);
  using varnikquelo::ReportAction;
  request.action = static_cast<ReportAction>(o.action);
  request.escapeValues = o.output.escapeValues;
  request.copyPictures = o.output.copyPictures;
  request.replaceEarlier = o.output.replaceEarlier;
  request.pdf = o.output.pdf;
  request.deleteOnCancel = o.deleteOnCancel;
  return request;
}

AutomaticReport automaticOf(const ReportOptions& o) {
  AutomaticReport automatic;
  automatic.picFields = textOf(o.picFields);
  if (!o.graphicFolder.isMissing()) automatic.graphicFolders = textOf(o.graphicFolder);
  automatic.settings = o.forFutureUse;
  automatic.fieldChoices = fieldChoices(o.objReserved).valueOr(nullptr);
  automatic.recordsPerPage = o.maxRecs.value_or(kDefaultRecordsPerPage);
  return automatic;
}

class ReportRun {
 public:
  explicit ReportRun(const ReportOptions& options)
      : options_(options), bar_(STDERR_FILENO, !options.quiet) {}
  int run(std::shared_ptr<Recordset> records);

 private:
  bool onStep(const varnikquelo::ReportStep& where);

  const ReportOptions& options_;
  ProgressBar bar_;
  int32_t pagesDone_ = 0, totalPages_ = 0;
};

// The bar follows the run; Ctrl-C or the page to cancel at stops it.
bool ReportRun::onStep(const varnikquelo::ReportStep& where) {
  totalPages_ = where.totalPages;
  pagesDone_ = std::max(where.page - 1, 0);
  bar_.update(pagesDone_, totalPages_);
  return !(interruptRequested || (options_.cancelAtPage && where.page >= *options_.cancelAtPage));
}

int ReportRun::run(std::shared_ptr<Recordset> records) {
  auto services = makeDefaultServices();
  Platform platform = services->platform();
  varnikquelo::ReportRequest request = requestOf(options_, std::move(records));
  request.progress = [this](const varnikquelo::ReportStep& where) { return onStep(where); };
  AutomaticReport automatic = automaticOf(options_);
  const varnikquelo::ReportResult result = makeReport(request, platform, &automatic);
  tellSettingsProblem(services->settingsProblem());
  for (const std::string& note : reportNotes(options_, automatic)) say("note: " + note);

  const bool cancelled = result.error.code == varnikquelo::ReportErrorCode::Cancelled;
  const bool done = result.ok() || cancelled;
  bar_.finish(result.ok() ? totalPages_ : pagesDone_);
  for (const std::string& path : result.pages) std::cout << path << "\n";
  std::cout.flush();
  for (const std::string& warning : result.warnings) say("warning: " + warning);
  if (interruptRequested) {
    say(options_.deleteOnCancel
            ? "interrupted: the pages written were deleted"
            : "interrupted: " + std::to_string(result.pages.size()) + " page(s) kept");
    return kExitInterrupted;
  }
  if (!done) {
    const auto [reason, status] = failure(result.error);
    say(reason);
    return status;
  }
  if (result.pages.empty() && !cancelled) say("no page was written: no field is output");
  return kExitOk;
}

}  // namespace

int reportCommand(const Words& args) {
  auto parsed = parseReportOptions(args);
  if (!parsed) return usageError("report: " + parsed.error().message, "report");
  ReportOptions options = std::move(parsed).value();
  if (options.help) {
    std::cout << kHelp;
    return kExitOk;
  }
  if (!PosixFileSystem().isDirectory(absoluteFolder(options.appPath)))
    return usageError("report: --app-path " + options.appPath + ": no such folder", "report");
  catchInterrupt();
  useSampleDefaults(options);
  auto records = openReportSource(options);
  if (!records) {
    say(records.error().message);
    return kExitUsage;
  }
  if (Status s = checkFieldNames(options, *records.value()); !s)
    return usageError("report: " + s.error().message, "report");
  if (interruptRequested) {
    say("interrupted before the report started");
    return kExitInterrupted;
  }
  return ReportRun(options).run(std::move(records).value());
}

}  // namespace quelo::cli
