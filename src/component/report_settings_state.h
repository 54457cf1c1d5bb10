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
struct ReportSettings {
  std::string FontName;
  std::string Header;
  std::string Footer;
  int16_t UseNotes = 0;       // 1: include the notes
  int16_t NotesPosition = 0;  // 0: on top of the first page, 1: at the bottom of the last
  std::string Notes;
  std::string Logo;       // picture paths
  std::string Signature;
  std::string Website;
  std::string Email;
  int16_t PagesOption = 0;   // 0: all pages, 1: the current page only
  int16_t SaveSettings = 0;  // 1: store the settings when the report form closes
};

struct SettingsState {
  ReportSettings working;
  // The settings form's control values before an automatic report replaced them.
  std::array<Variant, 10> backup;
  // The working settings before an automatic report applied its own, put back after it.
  ReportSettings userWorking;
};

}  // namespace quelo
