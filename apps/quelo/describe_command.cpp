// quelo describe: the type library as text for people or as JSON for programs.
#include <cstdio>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "control/type_library.h"

namespace quelo::cli {
namespace {

constexpr const char* kHelp = R"(usage: quelo describe [--json]

Prints the control's type library: every member of the interface _ZeQuelo with its dispatch id,
kind, parameters (by reference, optional, default) and help string; the events of __ZeQuelo; the
enums. --json prints the same as one JSON object.
)";

std::string jsonString(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string jsonValue(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.asBool() ? "true" : "false";
  if (v.isNumber()) return toString(v).value();
  if (v.isString()) return jsonString(v.asString());
  return "null";
}

std::string hexId(int32_t id) {
  if (id <= 0) return std::to_string(id);
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(id));
  return buf;
}

std::string jsonParams(const std::vector<ParamInfo>& params) {
  std::ostringstream o;
  o << "[";
  for (size_t i = 0; i < params.size(); ++i) {
    const ParamInfo& p = params[i];
    o << (i ? ", " : "") << "{\"name\": " << jsonString(p.name) << ", \"type\": " << jsonString(p.typeName)
      << ", \"byRef\": " << (p.byRef ? "true" : "false") << ", \"optional\": " << (p.optional ? "true" : "false");
    if (p.defaultValue) o << ", \"default\": " << jsonValue(*p.defaultValue);
    o << "}";
  }
  o << "]";
  return o.str();
}

void printJson(const TypeLibraryInfo& lib) {
  std::ostringstream o;
  o << "{\n  \"library\": " << jsonString(lib.name) << ",\n  \"version\": " << jsonString(lib.version)
    << ",\n  \"class\": " << jsonString(lib.coclass) << ",\n  \"interface\": " << jsonString(lib.interfaceName)
    << ",\n  \"eventInterface\": " << jsonString(lib.eventInterfaceName) << ",\n  \"members\": [\n";
  for (size_t i = 0; i < lib.members.size(); ++i) {
    const MemberInfo& m = lib.members[i];
    o << "    {\"name\": " << jsonString(m.name) << ", \"dispid\": " << m.dispid << ", \"kind\": "
      << (m.kind == MemberKind::Method ? "\"method\"" : "\"property\"");
    if (m.kind == MemberKind::Property) {
      o << ", \"type\": " << jsonString(m.params[0].typeName) << ", \"read\": true, \"write\": "
        << (m.writable ? "true" : "false");
      if (m.writable) o << ", \"writeByRef\": " << (m.params[0].byRef ? "true" : "false");
    } else {
      o << ", \"params\": " << jsonParams(m.params) << ", \"result\": "
        << (m.resultType ? jsonString(*m.resultType) : "null");
    }
    o << ", \"hidden\": " << (m.hidden ? "true" : "false") << ", \"help\": " << (m.help ? jsonString(*m.help) : "null")
      << "}" << (i + 1 < lib.members.size() ? "," : "") << "\n";
  }
  o << "  ],\n  \"events\": [\n";
  for (size_t i = 0; i < lib.events.size(); ++i) {
    const EventInfo& e = lib.events[i];
    o << "    {\"name\": " << jsonString(e.name) << ", \"dispid\": " << e.dispid << ", \"params\": "
      << jsonParams(e.params) << ", \"help\": " << (e.help ? jsonString(*e.help) : "null") << "}"
      << (i + 1 < lib.events.size() ? "," : "") << "\n";
  }
  o << "  ],\n  \"enums\": [\n";
  for (size_t i = 0; i < lib.enums.size(); ++i) {
    const EnumInfo& e = lib.enums[i];
    o << "    {\"name\": " << jsonString(e.name) << ", \"members\": [";
    for (size_t k = 0; k < e.members.size(); ++k)
      o << (k ? ", " : "") << "{\"name\": " << jsonString(e.members[k].first) << ", \"value\": " << e.members[k].second
        << ", \"help\": " << jsonString(e.members[k].first) << "}";
    o << "]}" << (i + 1 < lib.enums.size() ? "," : "") << "\n";
  }
  o << "  ]\n}\n";
  std::cout << o.str();
}

std::string textParams(const std::vector<ParamInfo>& params) {
  std::string out;
  for (const ParamInfo& p : params) {
    if (!out.empty()) out += ", ";
    if (p.optional) out += "Optional ";
    out += (p.byRef ? "ByRef " : "ByVal ") + p.name + " As " + p.typeName;
    if (p.defaultValue && !p.defaultValue->isMissing()) {
      const std::string v = toString(*p.defaultValue).valueOr("");
      out += " = " + (p.defaultValue->isString() ? "\"" + v + "\"" : v);
    }
  }
  return out;
}

void printText(const TypeLibraryInfo& lib) {
  std::ostringstream o;
  o << "library " << lib.name << " " << lib.version << ", class " << lib.coclass << "\n\ninterface "
    << lib.interfaceName << "\n";
  for (const MemberInfo& m : lib.members) {
    o << "  " << hexId(m.dispid) << "  ";
    if (m.kind == MemberKind::Property) {
      o << "property " << m.name << " As " << m.params[0].typeName << (m.writable ? " (read, write" : " (read only")
        << (m.writable && m.params[0].byRef ? ", ByRef write" : "") << ")";
    } else {
      o << "method " << m.name << "(" << textParams(m.params) << ")";
      if (m.resultType) o << " As " << *m.resultType;
    }
    if (m.dispid == 0) o << " [default member]";
    if (m.hidden) o << " [hidden]";
    o << "\n";
    if (m.help) o << "        \"" << *m.help << "\"\n";
  }
  o << "\nevents " << lib.eventInterfaceName << "\n";
  for (const EventInfo& e : lib.events) {
    o << "  " << hexId(e.dispid) << "  event " << e.name << "(" << textParams(e.params) << ")\n";
    if (e.help) o << "        \"" << *e.help << "\"\n";
  }
  o << "\nenums\n";
  for (const EnumInfo& e : lib.enums) {
    o << "  " << e.name << "\n";
    for (const auto& [name, value] : e.members) o << "    " << name << " = " << value << "\n";
  }
  std::cout << o.str();
}

}  // namespace

int describeCommand(const Words& args) {
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      return kExitOk;
    }
    if (a != "--json") return usageError("describe: unknown argument '" + a + "'", "describe");
    json = true;
  }
  if (json) printJson(zeQueloTypeLibrary());
  else printText(zeQueloTypeLibrary());
  return kExitOk;
}

}  // namespace quelo::cli
