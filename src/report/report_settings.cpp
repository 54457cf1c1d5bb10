#include "report/report_settings.h"

#include <algorithm>

#include "automation/text.h"

namespace quelo {
namespace {

constexpr size_t kMaxFontNames = 513;

// The text fields between the font and the page option, each with its part number.
struct TextField {
  size_t part;
  std::string SettingsRecord::*field;
};
constexpr TextField kTextFields[] = {{1, &SettingsRecord::header},    {2, &SettingsRecord::footer},
                                     {5, &SettingsRecord::notes},     {6, &SettingsRecord::logo},
                                     {7, &SettingsRecord::signature}, {8, &SettingsRecord::website},
                                     {9, &SettingsRecord::email}};
struct NumberField {
  size_t part;
  int16_t SettingsRecord::*field;
};
constexpr NumberField kNumberFields[] = {{3, &SettingsRecord::useNotes},
                                         {4, &SettingsRecord::notesPosition},
                                         {10, &SettingsRecord::pagesOption},
                                         {11, &SettingsRecord::saveSettings}};

constexpr char kEscape = '\x1F';
constexpr std::string_view kEscapedAfter = "**_";

// Writes one escape character after every "**_" that a '*', the end of the text or an escape
// character follows, so that no text holds the separator or ends in a piece of it.
std::string escapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (!text.substr(0, i + 1).ends_with(kEscapedAfter)) continue;
    const char next = i + 1 < text.size() ? text[i + 1] : '*';
    if (next == '*' || next == kEscape) out += kEscape;
  }
  return out;
}

// Drops the escape character that follows a "**_".
std::string unescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kEscape && text.substr(0, i).ends_with(kEscapedAfter)) continue;
    out += text[i];
  }
  return out;
}

}  // namespace

std::string formatSettingsRecord(const SettingsRecord& s) {
  const std::string parts[] = {escapeText(s.fontName),
                               escapeText(s.header),
                               escapeText(s.footer),
                               std::to_string(s.useNotes),
                               std::to_string(s.notesPosition),
                               escapeText(s.notes),
                               escapeText(s.logo),
                               escapeText(s.signature),
                               escapeText(s.website),
                               escapeText(s.email),
                               std::to_string(s.pagesOption),
                               std::to_string(s.saveSettings)};
  std::string record;
  for (const std::string& part : parts) {
    if (&part != parts) record += kSettingsSeparator;
    record += part;
  }
  return record;
}

void readSettingsRecord(std::string_view record, SettingsRecord& s) {
  const std::vector<std::string> parts = splitText(record, kSettingsSeparator);
  if (parts.empty()) return;
  s.fontName = unescapeText(parts[0]);
  for (const TextField& t : kTextFields)
    if (t.part < parts.size()) s.*t.field = unescapeText(parts[t.part]);
  for (const NumberField& n : kNumberFields) {
    if (n.part >= parts.size()) continue;
    auto number = toInteger(Variant(val(parts[n.part])));
    if (number) s.*n.field = number.value();
  }
}

void fillEmptyTexts(SettingsRecord& s) {
  for (const TextField& t : kTextFields)
    if ((s.*t.field).empty()) (s.*t.field).assign(1, ' ');
}

Variant advancedSettingValue(const SettingsRecord& s, int32_t setting) {
  switch (setting) {
    case Ra_Header:
      return Variant(s.header);
    case Ra_Footer:
      return Variant(s.footer);
    case Ra_UseNotes:
      return Variant(s.useNotes != 0);
    case Ra_NotesOnTop:
      return Variant(s.notesPosition == 0);
    case Ra_Notes:
      return Variant(s.notes);
    case Ra_Logo:
      return Variant(s.logo);
    case Ra_Signature:
      return Variant(s.signature);
    case Ra_Website:
      return Variant(s.website);
    case Ra_Email:
      return Variant(s.email);
    case Ra_AllPages:
      return Variant(s.pagesOption == 0);
    default:
      return Variant();
  }
}

std::vector<std::string> installedFontNames(Fonts& fonts) {
  std::vector<std::string> names = fonts.families();
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  if (names.size() > kMaxFontNames) names.resize(kMaxFontNames);
  return names;
}

}  // namespace quelo
