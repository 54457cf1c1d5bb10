// Collection: an ordered set of Variants, each with an optional text key, reached by position
// (from 1) or by key (ignoring case) as hosts' collections are. Hosts hand field choices to the
// automatic report in one.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "automation/member_dispatch.h"

namespace quelo {

class Collection : public MemberDispatch {
 public:
  static std::shared_ptr<Collection> create();

  // A key already present is refused (error 457), as a collection refuses it.
  Status add(Variant item, std::optional<std::string> key = std::nullopt);
  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  // By position from 1, or by key; error 5 when there is none.
  Result<Variant> item(const Variant& indexOrKey) const;
  const Variant* find(std::string_view key) const;

 private:
  Collection();
  std::vector<std::pair<std::optional<std::string>, Variant>> items_;
};

}  // namespace quelo
