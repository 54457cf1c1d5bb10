// The report customization preferences as the component keeps them: the working record that the
// page writer reads, the backup that an automatic report reverts the settings form from, and the
// user's own record that an automatic report puts back after it. How the record is stored and
// read back is the reporter's (report/report_settings.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>

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
  std::string logo;  // picture paths
  std::string signature;
  std::string website;
  std::string email;
  int16_t pagesOption = 0;   // 0: all pages, 1: the current page only
  int16_t saveSettings = 0;  // 1: store the settings when the report form closes
};

struct SettingsState {
  SettingsRecord working;
  // The settings form's control values before an automatic report replaced them.
  std::array<Variant, 10> backup;
  // The working settings before an automatic report applied its own, put back after it.
  SettingsRecord userWorking;
};

}  // namespace quelo
