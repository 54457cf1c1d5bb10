#include "report/reg_settings.h"

#include <string>

#include "automation/text.h"

namespace quelo {
namespace {

std::string keyPath(std::string_view productKey, std::string_view settingName) {
  std::string path(productKey);
  path += '\\';
  path += settingName;
  return path;
}

}  // namespace

bool writeRegSetting(SettingsStore* store, std::string_view value, std::string_view settingName) {
  if (!store) return false;
  const RegistryKey key{reg::kLocalMachine, keyPath(kProductKey, settingName)};
  const std::string keyClass = std::to_string(reg::kString);
  return store->setValue(key, keyClass, key.path, RegistryValue{reg::kString, std::string(value)})
      .isOk();
}

Variant readRegSetting(SettingsStore* store, int32_t root, std::string_view productKey,
                       std::string_view settingName) {
  if (!store) return Variant(std::string());
  const RegistryKey key{static_cast<uint32_t>(root), keyPath(productKey, settingName)};
  auto stored = store->value(key, key.path);
  if (!stored) return Variant(std::string());
  std::string_view data = stored.value().data;
  // Data written with or without a terminating zero reads the same.
  if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
  return Variant(trimSpaces(data));
}

}  // namespace quelo
