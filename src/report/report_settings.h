// The stored text form of the report customization preferences ("**_**" between the twelve
// fields), the AdvancedSettings values read from them, and the installed font names their form
// offers. The preferences themselves are the component's (component/report_settings_state.h).
//
// The stored form reads back exactly what was formatted, whatever the texts hold. Joined as they
// stand, a text holding the separator, or ending in "**_" or "**_*", would move the split; so
// wherever a text holds "**_" followed by a '*', by the end of the text or by a run of escape
// characters (U+001F), one escape character is written after that "**_", and reading drops one
// escape character after every "**_". Nothing else changes: texts without "**_" are written
// byte for byte as before, and a record stored before (which has no U+001F after a "**_", a
// character no text box can produce) reads exactly as it always did, shifted fields included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"
#include "component/report_settings_state.h"
#include "platform/fonts.h"

namespace quelo {

// The members of ReportAdvSetttings: indexes of the backup and of AdvancedSettings.
enum ReportAdvSetting : int32_t {
  Ra_Header,
  Ra_Footer,
  Ra_UseNotes,
  Ra_NotesOnTop,
  Ra_Notes,
  Ra_Logo,
  Ra_Signature,
  Ra_Website,
  Ra_Email,
  Ra_AllPages
};

inline constexpr std::string_view kSettingsSeparator = "**_**";
inline constexpr std::string_view kDefaultFontName = "Times New Roman";

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
