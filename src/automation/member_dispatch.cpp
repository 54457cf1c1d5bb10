#include "automation/member_dispatch.h"

#include "automation/text.h"

namespace quelo {
namespace {

Error notImplemented(const MemberInfo& m) { return makeError(err::kNotImplemented, "Not implemented: " + m.name); }

Error readOnly(const MemberInfo& m) { return makeError(err::kReadOnlyProperty, "Property is read-only: " + m.name); }

// Where argument `i` of a call goes, for a message: "argument 2 (Factor) of Scale", or "the value
// of Name" for a property assignment.
std::string placeOf(const MemberInfo& m, InvokeKind kind, size_t i) {
  if (kind == InvokeKind::PropertyPut) return "the value of " + m.name;
  return "argument " + std::to_string(i + 1) + " (" + m.params[i].name + ") of " + m.name;
}

// A coercion's error with the argument, the type the member wants and the type it was given.
Error argumentError(Error e, const MemberInfo& m, InvokeKind kind, size_t i, const Variant& given) {
  e.message += ": " + placeOf(m, kind, i) + " wants " + m.params[i].typeName + ", was given " +
               std::string(typeName(given.type()));
  return e;
}

// The parameters a call of this kind takes: a property get takes none, a put its value.
std::vector<ParamInfo> paramsFor(const MemberInfo& m, InvokeKind kind) {
  if (m.kind == MemberKind::Property && kind == InvokeKind::PropertyGet) return {};
  return m.params;
}

}  // namespace

void MemberDispatch::bind(std::string_view name, InvokeKind kind, Handler handler) {
  auto id = idOfName(name);
  int32_t dispid;
  if (id) {
    dispid = id.value();
  } else {
    dispid = nextOwnId_++;
    ownNames_.emplace_back(std::string(name), dispid);
  }
  handlers_[{dispid, kind}] = std::move(handler);
}

std::vector<std::string> MemberDispatch::disagreements() const {
  std::vector<std::string> out;
  if (!library_) return out;
  const auto serves = [this](const MemberInfo& m, InvokeKind kind) { return handlers_.count({m.dispid, kind}) > 0; };
  for (const MemberInfo& m : library_->members) {
    const bool property = m.kind == MemberKind::Property;
    if (!property && !serves(m, InvokeKind::Method)) out.push_back(m.name + ": declared, not bound");
    if (property && m.readable && !serves(m, InvokeKind::PropertyGet)) out.push_back(m.name + ": get not bound");
    if (property && m.writable && !serves(m, InvokeKind::PropertyPut)) out.push_back(m.name + ": put not bound");
  }
  for (const auto& [key, handler] : handlers_) {
    const MemberInfo* m = library_->findMember(key.first);
    const bool declared = m && (m->kind == MemberKind::Property
                                    ? (key.second == InvokeKind::PropertyGet ? m->readable
                                                                             : key.second == InvokeKind::PropertyPut && m->writable)
                                    : key.second == InvokeKind::Method);
    if (declared) continue;
    std::string name = m ? m->name : std::string();
    for (const auto& [own, id] : ownNames_)
      if (id == key.first) name = own;
    out.push_back(name + ": bound, not declared");
  }
  return out;
}

Result<int32_t> MemberDispatch::idOfName(std::string_view name) const {
  if (library_) {
    if (const MemberInfo* m = library_->findMember(name)) return m->dispid;
  }
  for (const auto& [own, id] : ownNames_)
    if (equalsIgnoreCase(own, name)) return id;
  return memberNotFound(name);
}

Result<Variant> MemberDispatch::invoke(int32_t dispid, InvokeKind kind, Args& args) {
  // A property read through a method call, as automation allows, and the reverse.
  auto it = handlers_.find({dispid, kind});
  if (it == handlers_.end() && kind == InvokeKind::Method) it = handlers_.find({dispid, InvokeKind::PropertyGet});
  if (it == handlers_.end() && kind == InvokeKind::PropertyGet) it = handlers_.find({dispid, InvokeKind::Method});
  const MemberInfo* m = library_ ? library_->findMember(dispid) : nullptr;
  if (it == handlers_.end()) {
    if (m && kind == InvokeKind::PropertyPut && m->kind == MemberKind::Property && !m->writable) return readOnly(*m);
    if (m) return notImplemented(*m);
    return makeError(err::kMemberNotFound, "Object doesn't support this property or method");
  }
  if (!m) return it->second(args);
  return invokeChecked(*m, it->second, it->first.second, args);
}

Result<Variant> MemberDispatch::invokeChecked(const MemberInfo& m, const Handler& h, InvokeKind kind, Args& args) {
  const std::vector<ParamInfo> params = paramsFor(m, kind);
  if (args.size() > params.size())
    return makeError(err::kWrongArgumentCount, "Wrong number of arguments or invalid property assignment: " + m.name +
                                                   " takes " + std::to_string(params.size()) + ", was given " +
                                                   std::to_string(args.size()));
  Args typed;
  typed.reserve(params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    const ParamInfo& p = params[i];
    const bool omitted = i >= args.size() || args[i].isMissing();
    if (omitted && !p.optional)
      return makeError(err::kArgumentNotOptional, "Argument not optional: " + placeOf(m, kind, i));
    if (omitted && !p.defaultValue) {
      typed.push_back(Variant::missing());
      continue;
    }
    auto coerced = coerceTo(omitted ? *p.defaultValue : args[i], p.type);
    if (!coerced) return argumentError(coerced.error(), m, kind, i, omitted ? *p.defaultValue : args[i]);
    typed.push_back(std::move(coerced).value());
  }
  auto result = h(typed);
  for (size_t i = 0; i < params.size() && i < args.size(); ++i)
    if (params[i].byRef && !args[i].isMissing()) args[i] = typed[i];
  return result;
}

}  // namespace quelo
