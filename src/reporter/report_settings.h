// The report customization preferences: the working record that the page writer reads, its
// stored text form ("**_**" between the twelve fields), and the backup that an automatic report
// reverts the settings form from. One copy per component (Component::state), shared by every
// control on its thread.
//
// The stored form reads back exactly what was formatted, whatever the texts hold. Joined as they
// stand, a text holding the separator, or ending in "**_" or "**_*", would move the split; so
// wherever a text holds "**_" followed by a '*', by the end of the text or by a run of escape
// characters (U+001F), one escape character is written after that "**_", and reading drops one
// escape character after every "**_". Nothing else changes: texts without "**_" are written
// byte for byte as before, and a record stored before (which has no U+001F after a "**_", a
// character no text box can produce) reads exactly as it always did, shifted fields included.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fonts.h"
#include "automation/variant.h"

namespace quelo {

// The twelve fields, in the order in which they are stored.
struct SettingsRecord {
  std::string fontName;
  std::string header;
  std::string footer;
  int16_t useNotes = 0;       // 1: include the notes
  int16_t notesPosition = 0;  // 0: on top of the first page, 1: at the bottom of the last
  std::string notes;
  std::string logo;       // picture paths
  std::string signature;
  std::string website;
  std::string email;
  int16_t pagesOption = 0;   // 0: all pages, 1: the current page only
  int16_t saveSettings = 0;  // 1: store the settings when the report form closes
};

// The members of ReportAdvSetttings: indexes of the backup and of AdvancedSettings.
enum ReportAdvSetting : int32_t {
  Ra_Header, Ra_Footer, Ra_UseNotes, Ra_NotesOnTop, Ra_Notes, Ra_Logo, Ra_Signature, Ra_Website, Ra_Email, Ra_AllPages
};

inline constexpr std::string_view kSettingsSeparator = "**_**";
inline constexpr std::string_view kDefaultFontName = "Times New Roman";

struct SettingsState {
  SettingsRecord working;
  // The settings form's control values before an automatic report replaced them.
  std::array<Variant, 10> backup;
  // The working settings before an automatic report applied its own, put back after it.
  SettingsRecord userWorking;
};

// The stored record: the fields joined by the separator, numbers in plain decimal.
std::string formatSettingsRecord(const SettingsRecord& s);
// Takes part i of the record into field i; fields without a part keep their values, and a
// number part that does not fit a 16-bit integer leaves its field as it was.
void readSettingsRecord(std::string_view record, SettingsRecord& s);
// Before a save: every empty text field but the font becomes a single space.
void fillEmptyTexts(SettingsRecord& s);
// The value AdvancedSettings returns for a ReportAdvSetttings member; Empty for any other number.
Variant advancedSettingValue(const SettingsRecord& s, int32_t setting);

// The installed font families: sorted, each once, at most 513.
std::vector<std::string> installedFontNames(Fonts& fonts);

}  // namespace quelo
