// Descriptions of an automation interface: members with dispatch ids and parameters, events and
// enums. One table of these drives both dispatch (argument checks, defaults, by-reference
// write-back) and the published type library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace quelo {

// The declared type of a parameter or value; arguments are coerced to it before a call.
enum class ParamType { Variant, String, Boolean, Integer, Long, Object };

struct ParamInfo {
  std::string name;
  ParamType type = ParamType::Variant;
  std::string typeName;  // as published: "String", "MaxRecsOnPage", "Recordset" ...
  bool byRef = false;
  bool optional = false;
  std::optional<Variant> defaultValue;  // filled in for an omitted optional argument
};

enum class MemberKind { Method, Property };

struct MemberInfo {
  std::string name;
  MemberKind kind = MemberKind::Method;
  int32_t dispid = 0;
  std::vector<ParamInfo> params;  // a property's value is its one parameter
  std::optional<std::string> resultType;  // methods: the result's type name, none for no result
  bool readable = false, writable = false;  // properties
  bool hidden = false;
  std::optional<std::string> help;
};

struct EventInfo {
  std::string name;
  int32_t dispid = 0;
  std::vector<ParamInfo> params;
  std::optional<std::string> help;
};

struct EnumInfo {
  std::string name;
  std::vector<std::pair<std::string, int32_t>> members;
};

struct TypeLibraryInfo {
  std::string name;
  std::string version;
  std::string coclass;
  std::string interfaceName;
  std::string eventInterfaceName;
  std::vector<MemberInfo> members;
  std::vector<EventInfo> events;
  std::vector<EnumInfo> enums;

  // Case-insensitive, as automation names are.
  const MemberInfo* findMember(std::string_view name) const;
  const MemberInfo* findMember(int32_t dispid) const;
};

// Converts an argument to a declared type (type mismatch, overflow, invalid use of Null).
Result<Variant> coerceTo(const Variant& v, ParamType type);

}  // namespace quelo
