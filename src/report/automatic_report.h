// The rules of the automatic report as plain functions: records per page, picture folders paired
// with picture fields, the fields offered for sums, the field choices, the settings laid over the
// stored preferences as Apply commits them, the heading's date line and the report form's
// defaults. The report form and the settings form follow them on screen; completeAutomatic
// applies them to a request without any form, for a command line that asks for an automatic
// report of records it opened itself.
#pragma once

#include <varnikquelo/report.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/date_time.h"
#include "automation/status.h"
#include "automation/variant.h"
#include "report/report_settings.h"

namespace quelo {

class Collection;
class Fonts;
class Recordset;
class SettingsStore;
struct FormExtras;
struct Platform;

// The report form's defaults for an automatic report.
inline constexpr std::string_view kAutoFileName = "AutoGenRep";
inline constexpr std::string_view kAutoTitle = "Auto-Generated Report";
inline constexpr std::string_view kAutoFallbackName =
    "zereport.htm";  // when the name typed is unusable
inline constexpr const char* kTableColours[] = {"WHITE", "RED",    "BLUE",   "GREEN", "YELLOW",
                                                "GRAY",  "SILVER", "MAROON", "FUCHIA"};

// Records per page: `asked` (10 when not positive), or 200 when that gives more than 100 full
// pages.
int32_t pageSizeFor(int64_t records, int32_t asked);
// The records that settle pageSizeFor: with that many or more it gives the same as with any more.
int64_t recordsSettlingPageSize(int32_t asked);

// A folder list as the report form keeps it: trimmed, with a trailing separator, and only when
// it is anchored (a drive or "/..."); else `previous` stays.
std::string keptFolderPath(const std::string& typed, const std::string& previous);

// The picture folder of each of `columns` (empty for a column that holds no pictures): the
// comma-separated `picFields` paired in order with the comma-separated `folderPath`; a field
// without a folder of its own takes the last one given.
std::vector<std::string> pictureFolders(const std::vector<std::string>& columns,
                                        const std::string& folderPath,
                                        const std::string& picFields);

// The fields whose sums can be offered, in field order: number fields whose value in the first
// record of `page` is numeric. A field that cannot be read ends the list there.
std::vector<std::string> summableFields(Recordset& page);

// The field choices: the first item of the ObjReserved collection, when there is one; an
// ObjReserved that is neither nothing nor a collection is an error.
Result<std::shared_ptr<Collection>> fieldChoices(const Variant& reserved);
// The host's choice for a field: none when there are no choices or none for that field.
std::optional<int32_t> choiceFor(const std::shared_ptr<Collection>& choices,
                                 const std::string& field);
// A field without a choice is output and summed; N > 0 outputs it, 2 sums it too.
inline bool outputByChoice(std::optional<int32_t> choice) {
  return !choice || *choice > 0;
}
inline bool summedByChoice(std::optional<int32_t> choice) {
  return !choice || *choice == 2;
}

// The ten values the automatic report writes into the settings form: the host's array elements,
// or, with no array, the defaults (no header, footer or notes, all pages, and the logo,
// signature, website and e-mail of `working`). An element that is absent stays Missing and
// leaves its setting as it was.
std::array<Variant, 10> requestedSettings(const SettingsRecord& working,
                                          const Variant& forFutureUse);

// The stored preferences read into `into`, as the settings form reads them when it loads.
void readStoredSettings(SettingsStore* store, SettingsRecord& into);
// The fonts the settings form offers: the installed ones, or the default font alone.
std::vector<std::string> fontChoices(Fonts* fonts);
// The settings in force after Apply: `stored` with `requested` laid over it as the settings
// form's controls take them, trimmed as Apply commits them; a font that is not offered gives way
// to the default font.
SettingsRecord automaticSettings(const SettingsRecord& stored,
                                 const std::array<Variant, 10>& requested,
                                 const std::vector<std::string>& fonts);

// The heading's second line with the date `day`: after the time of day in an automatic report.
std::string dateLineOf(Date day, const std::optional<CivilTime>& timeOfDay);

// The typed file name and title, trimmed, or the automatic report's defaults.
std::string automaticFileName(const std::string& typed);
std::string automaticTitle(const std::string& typed);

// Why a report is refused, in the words the report form shows.
std::string tooManyRecords(const std::string& why);
std::string tooManyFields(const std::string& why);

// What an automatic report adds to its request: AutoZeReporter's picture, settings and field
// arguments, and the records per page asked for. What the rules made of them comes back for the
// caller to tell the user.
struct AutomaticReport {
  std::string picFields;                      // comma-separated field names
  std::optional<std::string> graphicFolders;  // comma-separated; none: the application path
  Variant settings = Variant::missing();      // forFutureUse
  std::shared_ptr<Collection> fieldChoices;   // none: every field output and summed
  int32_t recordsPerPage = 10;                // as asked
  // Filled by the run.
  int32_t pageSize = 0;  // records per page used; 0 when the run did not get that far
  int64_t records = 0;
  std::string baseName;  // the page file name before the page number, once a job was made
  int32_t pages = 0;     // the pages the job writes; 0 when the run did not come to know them
};

// Completes `request` for an automatic report of records whose first page is `firstPage`: output
// fields and sums by the choices, picture folders, the settings in force and the heading's date
// line; returns what only the form would add. An empty request.fields means no field is output.
FormExtras completeAutomatic(varnikquelo::ReportRequest& request, const AutomaticReport& automatic,
                             Recordset& firstPage, Platform& platform);

}  // namespace quelo
