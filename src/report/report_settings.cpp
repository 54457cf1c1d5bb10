#include "report/report_settings.h"

#include <algorithm>

#include "automation/text.h"

namespace quelo {
namespace {

constexpr size_t kMaxFontNames = 513;

// The text fields between the font and the page option, each with its part number.
struct TextField {
  size_t part;
  std::string ReportSettings::*field;
};
constexpr TextField kTextFields[] = {{1, &ReportSettings::Header},    {2, &ReportSettings::Footer},
                                     {5, &ReportSettings::Notes},     {6, &ReportSettings::Logo},
                                     {7, &ReportSettings::Signature}, {8, &ReportSettings::Website},
                                     {9, &ReportSettings::Email}};
struct NumberField {
  size_t part;
  int16_t ReportSettings::*field;
};
constexpr NumberField kNumberFields[] = {{3, &ReportSettings::UseNotes},
                                         {4, &ReportSettings::NotesPosition},
                                         {10, &ReportSettings::PagesOption},
                                         {11, &ReportSettings::SaveSettings}};

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

std::string formatSettingsRecord(const ReportSettings& s) {
  const std::string parts[] = {escapeText(s.FontName),
                               escapeText(s.Header),
                               escapeText(s.Footer),
                               std::to_string(s.UseNotes),
                               std::to_string(s.NotesPosition),
                               escapeText(s.Notes),
                               escapeText(s.Logo),
                               escapeText(s.Signature),
                               escapeText(s.Website),
                               escapeText(s.Email),
                               std::to_string(s.PagesOption),
                               std::to_string(s.SaveSettings)};
  std::string record;
  for (const std::string& part : parts) {
    if (&part != parts) record += kSettingsSeparator;
    record += part;
  }
  return record;
}

void readSettingsRecord(std::string_view record, ReportSettings& s) {
  const std::vector<std::string> parts = splitText(record, kSettingsSeparator);
  if (parts.empty()) return;
  s.FontName = unescapeText(parts[0]);
  for (const TextField& t : kTextFields)
    if (t.part < parts.size()) s.*t.field = unescapeText(parts[t.part]);
  for (const NumberField& n : kNumberFields) {
    if (n.part >= parts.size()) continue;
    auto number = toInteger(Variant(val(parts[n.part])));
    if (number) s.*n.field = number.value();
  }
}

void fillEmptyTexts(ReportSettings& s) {
  for (const TextField& t : kTextFields)
    if ((s.*t.field).empty()) (s.*t.field).assign(1, ' ');
}

Variant advancedSettingValue(const ReportSettings& s, int32_t setting) {
  switch (setting) {
    case Ra_Header: return Variant(s.Header);
    case Ra_Footer: return Variant(s.Footer);
    case Ra_UseNotes: return Variant(s.UseNotes != 0);
    case Ra_NotesOnTop: return Variant(s.NotesPosition == 0);
    case Ra_Notes: return Variant(s.Notes);
    case Ra_Logo: return Variant(s.Logo);
    case Ra_Signature: return Variant(s.Signature);
    case Ra_Website: return Variant(s.Website);
    case Ra_Email: return Variant(s.Email);
    case Ra_AllPages: return Variant(s.PagesOption == 0);
    default: return Variant();
  }
}

std::vector<std::string> InstalledFontNames(Fonts& fonts) {
  std::vector<std::string> names = fonts.families();
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  if (names.size() > kMaxFontNames) names.resize(kMaxFontNames);
  return names;
}

}  // namespace quelo
