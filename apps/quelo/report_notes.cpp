#include "report_notes.h"

#include "automation/text.h"
#include "report/generation_driver.h"

namespace quelo::cli {
namespace {

// The page size asked for, when the more-than-100-pages rule changed it.
std::optional<std::string> pageSizeNote(const ReportOptions& o, const AutomaticReport& automatic) {
  if (!o.maxRecs || automatic.pageSize == 0 || automatic.pageSize == *o.maxRecs)
    return std::nullopt;
  const int64_t pages = (automatic.records + *o.maxRecs - 1) / *o.maxRecs;
  return "--max-recs " + std::to_string(*o.maxRecs) + " gives " + std::to_string(pages) +
         " pages; reports of more than 100 pages get " + std::to_string(automatic.pageSize) +
         " records a page";
}

// The name the help promises: the one typed in lower case, with .htm when it has no extension.
std::string promisedName(const std::string& typed) {
  const std::string name = toLower(trimSpaces(typed));
  return name.find(".htm") == std::string::npos && name.find(".asp") == std::string::npos
             ? name + ".htm"
             : name;
}

// Which rule of the file name made the difference.
std::string fileNameRule(const std::string& typed, const std::string& baseName) {
  const std::string name = trimSpaces(typed);
  if (name.empty()) return "a blank name gives the default name";
  if (baseName == kAutoFallbackName && name.find(' ') != std::string::npos)
    return "a name with a blank is taken only as a file of that name in the current folder, and "
           "there is none";
  if (name.find_first_of("\\/:") != std::string::npos)
    return "only the part after the last folder is kept, in capitals, and .htm or .asp counts as "
           "the extension in "
           "lower case only";
  return ".htm or .asp counts as the extension in lower case only, so .htm was added";
}

std::optional<std::string> fileNameNote(const ReportOptions& o, const AutomaticReport& automatic) {
  if (!o.fileName.isString() || automatic.baseName.empty() || automatic.pages == 0)
    return std::nullopt;
  const std::string& typed = o.fileName.asString();
  if (promisedName(typed) == automatic.baseName) return std::nullopt;
  const int32_t pages = automatic.pages;
  std::string names = pageFileName(automatic.baseName, 1, pages);
  if (pages > 1)
    names += ", " + pageFileName(automatic.baseName, 2, pages) + (pages > 2 ? " ..." : "");
  return "--file \"" + typed + "\" gives " + names + ": " + fileNameRule(typed, automatic.baseName);
}

}  // namespace

std::vector<std::string> reportNotes(const ReportOptions& options,
                                     const AutomaticReport& automatic) {
  std::vector<std::string> notes;
  for (auto note : {pageSizeNote(options, automatic), fileNameNote(options, automatic)})
    if (note) notes.push_back(std::move(*note));
  return notes;
}

}  // namespace quelo::cli
