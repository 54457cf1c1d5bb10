// PropertyBag: the host's saved record of a control's properties, a set of named values. A value
// equal to its default is not stored; an absent key reads as the default.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/status.h"
#include "automation/variant.h"

namespace quelo {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  virtual Result<Variant> read(std::string_view key, const Variant& defaultValue) = 0;
  virtual Status write(std::string_view key, const Variant& value, const Variant& defaultValue) = 0;
};

// Equality as the bag decides "equal to its default": numbers by value (a Boolean is -1 or 0),
// texts by their characters, Empty only with Empty; values of different kinds never match.
bool sameStoredValue(const Variant& a, const Variant& b);

// In memory, keeping keys in the order they were first written.
class MemoryPropertyBag : public PropertyBag {
 public:
  Result<Variant> read(std::string_view key, const Variant& defaultValue) override;
  Status write(std::string_view key, const Variant& value, const Variant& defaultValue) override;

  const std::vector<std::pair<std::string, Variant>>& entries() const { return entries_; }
  void set(std::string key, Variant value);
  bool contains(std::string_view key) const;

 protected:
  std::vector<std::pair<std::string, Variant>> entries_;
};

// A host's saved form on disk: one "key<TAB>type<TAB>value" line per stored value, values
// escaped (\\, \t, \n, \r), numbers exact. Saving writes a new file and renames it over the old one.
class FilePropertyBag : public MemoryPropertyBag {
 public:
  // A missing file is an empty bag. Lines may end in CR LF; a line that cannot be read is left
  // out, so its key reads as its default. A file with lines but none readable is no property
  // record and fails, as does one that cannot be read.
  static Result<FilePropertyBag> load(const std::string& path);
  Status save(const std::string& path) const;
};

}  // namespace quelo
