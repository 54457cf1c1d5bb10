#include "automation/collection.h"

#include "automation/text.h"

namespace quelo {

std::shared_ptr<Collection> Collection::create() { return std::shared_ptr<Collection>(new Collection()); }

Collection::Collection() {
  bind("Count", InvokeKind::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(count()); });
  bind("Item", InvokeKind::Method, [this](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    return item(a[0]);
  });
  bind("Add", InvokeKind::Method, [this](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    std::optional<std::string> key;
    if (a.size() > 1 && !a[1].isMissing()) {
      auto k = toString(a[1]);
      if (!k) return k.error();
      key = k.value();
    }
    Status s = add(a[0], key);
    if (!s) return s.error();
    return Variant();
  });
}

Status Collection::add(Variant item, std::optional<std::string> key) {
  if (key && find(*key)) return makeError(457, "This key is already associated with an element of this collection");
  items_.emplace_back(std::move(key), std::move(item));
  return Status::ok();
}

const Variant* Collection::find(std::string_view key) const {
  for (const auto& [k, v] : items_)
    if (k && equalsIgnoreCase(*k, key)) return &v;
  return nullptr;
}

Result<Variant> Collection::item(const Variant& indexOrKey) const {
  if (indexOrKey.isString()) {
    if (const Variant* v = find(indexOrKey.asString())) return *v;
  } else if (auto i = toLong(indexOrKey); i && i.value() >= 1 && i.value() <= count()) {
    return items_[static_cast<size_t>(i.value() - 1)].second;
  }
  return makeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
}

}  // namespace quelo
