#include "report/automatic_report.h"

#include <algorithm>

#include "automation/collection.h"
#include "automation/text.h"
#include "component/platform.h"
#include "data/recordset/recordset.h"
#include "files/path_rules.h"
#include "report/field_class.h"
#include "report/reg_settings.h"
#include "report/report_api.h"

namespace quelo {

namespace {

constexpr int32_t kDefaultPageSize = 10;
constexpr int64_t kMostPages = 100;
constexpr int32_t kLargePageSize = 200;

std::vector<std::string> splitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(text.substr(start, comma - start));
  parts.push_back(text.substr(start));
  return parts;
}

// A requested text: the element's text when it has one, else the setting as it was.
std::string textOr(const Variant& requested, const std::string& was) {
  if (requested.isMissing()) return was;
  return toString(requested).valueOr(was);
}

// A requested switch: the element as a Boolean when it converts, else the switch as it was.
bool switchOr(const Variant& requested, bool was) {
  if (requested.isMissing()) return was;
  return toBool(requested).valueOr(was);
}

}  // namespace

int32_t pageSizeFor(int64_t records, int32_t asked) {
  const int32_t size = asked > 0 ? asked : kDefaultPageSize;
  return records / size > kMostPages ? kLargePageSize : size;
}

int64_t recordsSettlingPageSize(int32_t asked) {
  return (kMostPages + 1) * (asked > 0 ? asked : kDefaultPageSize);
}

std::string keptFolderPath(const std::string& typed, const std::string& previous) {
  const std::string trimmed = trimSpaces(typed);
  return isAnchoredPath(trimmed) ? withTrailingSeparator(trimmed) : previous;
}

std::vector<std::string> pictureFolders(const std::vector<std::string>& columns,
                                        const std::string& folderPath,
                                        const std::string& picFields) {
  std::vector<std::string> folders = splitAtCommas(folderPath);
  const std::vector<std::string> fields = splitAtCommas(picFields);
  const std::string lastFolder = trimSpaces(folders.back());
  if (fields.size() > folders.size()) folders.resize(fields.size());
  std::vector<std::string> out(columns.size());
  for (size_t j = 0; j < columns.size(); ++j) {
    for (size_t k = 0; k < fields.size(); ++k) {
      if (!equalsIgnoreCase(trimSpaces(fields[k]), columns[j])) continue;
      const std::string folder = trimSpaces(folders[k]);
      out[j] = folder.empty() ? lastFolder : withTrailingSeparator(folder);
      break;
    }
  }
  return out;
}

std::vector<std::string> summableFields(Recordset& page) {
  std::vector<std::string> out;
  if (!page.moveFirst()) return out;
  const FieldList& fields = page.fields();
  for (int c = 0; c < fields.count(); ++c) {
    const std::string name = trimSpaces(fields[c].name);
    auto index = page.fieldIndex(name);
    if (!index) break;
    auto value = page.value(index.value());
    if (!value) break;
    if (fieldClass(fields[index.value()]) == FieldKind::Number && isNumeric(value.value()))
      out.push_back(name);
  }
  return out;
}

Result<std::shared_ptr<Collection>> fieldChoices(const Variant& reserved) {
  if (reserved.isMissing()) return std::shared_ptr<Collection>();
  const std::shared_ptr<Dispatch> object = reserved.objectOrNull();
  if (!object) return std::shared_ptr<Collection>();
  auto outer = std::dynamic_pointer_cast<Collection>(object);
  if (!outer) return makeError(err::kTypeMismatch, "ObjReserved is not a collection");
  if (outer->count() == 0) return std::shared_ptr<Collection>();
  auto first = outer->item(Variant(int32_t{1}));
  return first ? std::dynamic_pointer_cast<Collection>(first.value().objectOrNull())
               : std::shared_ptr<Collection>();
}

std::optional<int32_t> choiceFor(const std::shared_ptr<Collection>& choices,
                                 const std::string& field) {
  const Variant* item = choices ? choices->find(field) : nullptr;
  if (!item) return std::nullopt;
  return toLong(*item).valueOr(0);
}

std::array<Variant, 10> requestedSettings(const SettingsRecord& w, const Variant& forFutureUse) {
  std::array<Variant, 10> values;
  values.fill(Variant::missing());
  if (forFutureUse.isMissing()) {
    values = {Variant(""),      Variant(""),     Variant(int32_t{0}),  Variant(true),
              Variant(""),      Variant(w.logo), Variant(w.signature), Variant(w.website),
              Variant(w.email), Variant(true)};
    return values;
  }
  if (!forFutureUse.isArray() || forFutureUse.asArray()->dimensions() != 1) return values;
  const std::vector<Variant>& elements = forFutureUse.asArray()->elements();
  for (size_t i = 0; i < values.size() && i < elements.size(); ++i) values[i] = elements[i];
  return values;
}

void readStoredSettings(SettingsStore* store, SettingsRecord& into) {
  const Variant stored = readRegSetting(store, static_cast<int32_t>(reg::kLocalMachine),
                                        kProductKey, kReportSettingName);
  std::string record = trimSpaces(stored.asString());
  if (record.empty()) record = kDefaultFontName;
  readSettingsRecord(record, into);
}

std::vector<std::string> fontChoices(Fonts* fonts) {
  std::vector<std::string> names;
  if (fonts) names = installedFontNames(*fonts);
  if (names.size() <= 1) names = {std::string(kDefaultFontName)};
  return names;
}

// The settings form shows `stored` (a check box takes 0 to 2 only, an option index without its
// button leaves the first option on), takes `requested` over it, and Apply commits it trimmed.
SettingsRecord automaticSettings(const SettingsRecord& stored,
                                 const std::array<Variant, 10>& requested,
                                 const std::vector<std::string>& fonts) {
  SettingsRecord s = stored;
  const bool offered = std::find(fonts.begin(), fonts.end(), stored.fontName) != fonts.end();
  s.fontName =
      offered && !stored.fontName.empty() ? stored.fontName : std::string(kDefaultFontName);
  s.header = trimSpaces(textOr(requested[Ra_Header], stored.header));
  s.footer = trimSpaces(textOr(requested[Ra_Footer], stored.footer));
  const int16_t shownNotes = stored.useNotes >= 0 && stored.useNotes <= 2 ? stored.useNotes : 0;
  s.useNotes = shownNotes;
  if (auto on = toBool(requested[Ra_UseNotes]); on && !requested[Ra_UseNotes].isMissing())
    s.useNotes = on.value() ? 1 : 0;
  s.notesPosition = switchOr(requested[Ra_NotesOnTop], stored.notesPosition != 1) ? 0 : 1;
  s.notes = trimSpaces(textOr(requested[Ra_Notes], stored.notes));
  s.logo = trimSpaces(textOr(requested[Ra_Logo], stored.logo));
  s.signature = trimSpaces(textOr(requested[Ra_Signature], stored.signature));
  s.website = trimSpaces(textOr(requested[Ra_Website], stored.website));
  s.email = trimSpaces(textOr(requested[Ra_Email], stored.email));
  s.pagesOption = switchOr(requested[Ra_AllPages], stored.pagesOption != 1) ? 0 : 1;
  s.saveSettings = stored.saveSettings >= 0 && stored.saveSettings <= 2 ? stored.saveSettings : 0;
  return s;
}

std::string dateLineOf(Date day, const std::optional<CivilTime>& timeOfDay) {
  const std::string time = timeOfDay ? formatTwelveHourTime(*timeOfDay) + " of " : std::string();
  return time + formatLongDate(day) + " <Br> ";
}

std::string automaticFileName(const std::string& typed) {
  const std::string name = trimSpaces(typed);
  return name.empty() ? std::string(kAutoFileName) : name;
}

std::string automaticTitle(const std::string& typed) {
  const std::string title = trimSpaces(typed);
  return title.empty() ? std::string(kAutoTitle) : title;
}

std::string tooManyRecords(const std::string& why) {
  return "Too many records! " + why + ".";
}
std::string tooManyFields(const std::string& why) {
  return "Too many fields! " + why + ".";
}

FormExtras completeAutomatic(varnikquelo::ReportRequest& request, const AutomaticReport& automatic,
                             Recordset& firstPage, Platform& platform) {
  std::vector<std::string> columns;
  for (const FieldInfo& f : firstPage.fields().all()) columns.push_back(trimSpaces(f.name));
  request.fields.clear();
  for (const std::string& name : columns)
    if (outputByChoice(choiceFor(automatic.fieldChoices, name))) request.fields.push_back(name);
  request.sums.clear();
  for (const std::string& name : summableFields(firstPage))
    if (summedByChoice(choiceFor(automatic.fieldChoices, name))) request.sums.push_back(name);

  const std::string picFields = trimSpaces(automatic.picFields);
  const std::string folders =
      keptFolderPath(automatic.graphicFolders.value_or(request.applicationPath), "");
  const std::vector<std::string> pictures = pictureFolders(columns, folders, picFields);
  request.pictures.clear();
  for (size_t c = 0; c < columns.size(); ++c)
    if (!pictures[c].empty()) request.pictures.emplace(columns[c], pictures[c]);

  SettingsRecord stored;
  readStoredSettings(platform.settings, stored);
  const std::vector<std::string> fonts = stored.fontName == kDefaultFontName
                                             ? std::vector<std::string>{}
                                             : fontChoices(platform.fonts);
  FormExtras extras;
  extras.settings = automaticSettings(stored, requestedSettings(stored, automatic.settings), fonts);
  extras.allPages = extras.settings.pagesOption == 0;
  extras.currentPage = 1;
  extras.pictureFieldsNamed = !picFields.empty();
  extras.fallbackName = kAutoFallbackName;
  request.useSettings = true;
  request.colour = kTableColours[0];

  const CivilTime now = civilFromDate(dateFromTimePoint(platform.clock->wallNow()));
  request.dateLine = dateLineOf(dateFromCivil({now.year, now.month, now.day}), now);
  return extras;
}

}  // namespace quelo
