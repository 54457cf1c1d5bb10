#include "automation/type_info.h"

#include "automation/text.h"

namespace quelo {

const MemberInfo* TypeLibraryInfo::findMember(std::string_view name) const {
  for (const MemberInfo& m : members)
    if (equalsIgnoreCase(m.name, name)) return &m;
  return nullptr;
}

const MemberInfo* TypeLibraryInfo::findMember(int32_t dispid) const {
  for (const MemberInfo& m : members)
    if (m.dispid == dispid) return &m;
  return nullptr;
}

Result<Variant> coerceTo(const Variant& v, ParamType type) {
  switch (type) {
    case ParamType::Variant:
      return v;
    case ParamType::String: {
      auto s = toString(v);
      if (!s) return s.error();
      return Variant(std::move(s).value());
    }
    case ParamType::Boolean: {
      auto b = toBool(v);
      if (!b) return b.error();
      return Variant(b.value());
    }
    case ParamType::Integer: {
      auto i = toInteger(v);
      if (!i) return i.error();
      return Variant(i.value());
    }
    case ParamType::Long: {
      auto l = toLong(v);
      if (!l) return l.error();
      return Variant(l.value());
    }
    case ParamType::Object:
      if (v.isObject()) return v;
      if (v.isEmpty()) return Variant(std::shared_ptr<Dispatch>());
      return makeError(err::kTypeMismatch, "Type mismatch");
  }
  return v;
}

}  // namespace quelo
