// The settings registry in one SQLite file (rollback journal, so a crash mid-write leaves the old
// record; a busy timeout, so two writers take turns). The file and its folders are private to the
// user: missing folders are made with mode 0700, and every write leaves the file 0600 in a 0700
// folder. A symlink, anything but a plain file, or a file of another user at the path is refused,
// for reading and writing alike.
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

  // Why the store could not be used, from the first read or write that failed for a reason other
  // than a setting not stored yet (a refused path, a corrupt or unreadable file); empty while all
  // went well. The callers carry on with defaults; a program can tell its user.
  const std::string& problem() const { return problem_; }

 private:
  Status write(const RegistryKey& key, std::string_view keyClass, std::string_view name, const RegistryValue& value);
  Result<RegistryValue> read(const RegistryKey& key, std::string_view name);

  std::string file_;
  StepHook hook_;
  std::string problem_;
};

}  // namespace quelo
