// QueloRegSettings: one named setting of the product, kept as a string value in the settings
// registry. The key is the product key, a backslash and the setting name, and the value inside it
// is named by that same full key path.
#pragma once

#include <cstdint>
#include <string_view>

#include "automation/variant.h"
#include "platform/settings_store.h"

namespace quelo {

inline constexpr std::string_view kProductKey = "Software\\TORVEL\\VarnikQuelo";
// The one setting the report settings are stored under.
inline constexpr std::string_view kReportSettingName = "PwInf";

// Stores value under HKEY_LOCAL_MACHINE\<product key>\<settingName>, creating the key (class "1",
// the string type) when missing. True when the value was written.
bool writeRegSetting(SettingsStore* store, std::string_view value, std::string_view settingName);
// The stored string, whole, with a trailing zero character dropped and leading and trailing
// spaces trimmed; an empty string when it cannot be read.
Variant readRegSetting(SettingsStore* store, int32_t root, std::string_view productKey,
                       std::string_view settingName);

}  // namespace quelo
