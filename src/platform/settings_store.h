// SettingsStore: the machine's settings registry, as keys under a root, each key holding named
// values of a type with their data. Paths and value names compare without regard to ASCII case.
// Every write is all or nothing: a reader sees the old value or the new one, never a part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/status.h"

namespace quelo {

namespace reg {
// Root handles, with their classic values.
inline constexpr uint32_t kClassesRoot = 0x80000000;
inline constexpr uint32_t kCurrentUser = 0x80000001;
inline constexpr uint32_t kLocalMachine = 0x80000002;
inline constexpr uint32_t kUsers = 0x80000003;
// Value types.
inline constexpr uint32_t kString = 1;
}  // namespace reg

// The name of a root handle ("HKEY_LOCAL_MACHINE"), empty for an unknown one.
std::string_view registryRootName(uint32_t root);

struct RegistryKey {
  uint32_t root = reg::kLocalMachine;
  std::string path;
};

struct RegistryValue {
  uint32_t type = reg::kString;
  std::string data;  // the bytes as written, no terminator added
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Creates the key when it is missing (with keyClass as its class) and sets the value, in one
  // transaction. An existing key keeps its class.
  virtual Status setValue(const RegistryKey& key, std::string_view keyClass, std::string_view name,
                          const RegistryValue& value) = 0;
  // Error kFileNotFound when the key or the value does not exist.
  virtual Result<RegistryValue> value(const RegistryKey& key, std::string_view name) = 0;
};

}  // namespace quelo
