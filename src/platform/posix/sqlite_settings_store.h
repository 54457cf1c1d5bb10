// The settings registry in one SQLite file (rollback journal, so a crash mid-write leaves the old
// record; a busy timeout, so two writers take turns). The file and its folders are private to the
// user: the folders are made with mode 0700, the file with 0600.
#pragma once

#include <functional>
#include <string>

#include "platform/settings_store.h"

namespace quelo {

class SqliteSettingsStore : public SettingsStore {
 public:
  // Runs between the statements of a write, told which step is done ("key", "value"); an error it
  // returns rolls the write back. For tests of interrupted writes.
  using StepHook = std::function<Status(std::string_view step)>;

  explicit SqliteSettingsStore(std::string file, StepHook hook = {});
  // $XDG_CONFIG_HOME/VarnikQuelo/registry.sqlite; ~/.config stands in for an unset or relative
  // XDG_CONFIG_HOME.
  static std::string defaultFile();

  const std::string& file() const { return file_; }
  Status setValue(const RegistryKey& key, std::string_view keyClass, std::string_view name,
                  const RegistryValue& value) override;
  Result<RegistryValue> value(const RegistryKey& key, std::string_view name) override;

 private:
  std::string file_;
  StepHook hook_;
};

}  // namespace quelo
