// Writes varnikquelo-members(3), the reference of the control's members for C++ hosts, from the
// type library itself, so the page cannot say other than what the control does. Each member
// belongs to a group with an example; a member of no group fails the build instead of going
// unlisted. Usage: quelo-member-reference OUT VERSION
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "control/type_library.h"

namespace quelo {
namespace {

struct Group {
  const char* title;
  std::vector<std::string> members;
  const char* example;
};

const std::vector<Group>& groups() {
  static const std::vector<Group> all = {
      {"Properties",
       {"Tag", "DeveloperCompany", "BackColor", "Enabled", "ApplicationPath", "DoTimer", "Interval", "MaxRecsPerPage",
        "hWnd", "CurrentRecordset"},
       R"(varnikquelo::Control control;
control.put("ApplicationPath", "/srv/shop");  // pages go to /srv/shop/Reports/
control.put("MaxRecsPerPage", 20);
varnikquelo::CallResult tag = control.get("Tag");
if (!tag.ok()) std::cerr << tag.error.number << ": " << tag.error.message << "\n";
varnikquelo::ControlError e = control.put("hWnd", 1);  // 383, "Property is read-only: hWnd")"},
      {"Timer and delay",
       {"ProgramDelayNSec"},
       R"(control.onEvent([](const std::string& event, std::vector<varnikquelo::Value>&) {
  if (event == "ZeTimer") std::cout << "tick\n";
});
control.put("Interval", 5);
control.put("DoTimer", true);
control.processEvents();  // from the host's own loop: raises ZeTimer when due
control.call("ProgramDelayNSec", {2});  // waits two seconds)"},
      {"File names and the file dialog",
       {"SupplyFileName", "LongFileName", "justFileName", "ShortFileName", "FileFolder"},
       R"(varnikquelo::CallResult name = control.call("justFileName", {"/srv/shop/stock.csv"});
std::cout << name.value.text() << "\n";  // stock.csv
std::cout << control.call("FileFolder", {"/srv/shop/stock.csv"}).value.text() << "\n";)"},
      {"Links",
       {"OpenHyperlink"},
       R"(varnikquelo::CallResult opened = control.call("OpenHyperlink", {"https://example.org/"});
if (opened.ok() && !opened.value.asBool()) std::cerr << "no browser\n";)"},
      {"Reports",
       {"ShowZeReporter", "AutoZeReporter", "RaiseZeReportStatus", "AdvancedSettings"},
       R"(control.onEvent([](const std::string& event, std::vector<varnikquelo::Value>& args) {
  // ReportStatus: TotalPages, ElapsedSeconds, CurrentPage, Cancel, DeleteGeneratedPagesOnCancel
  if (event == "ReportStatus" && args[1].asInt32() > 60) args[3] = true;  // cancel
});
varnikquelo::Records stock = varnikquelo::Records::csv("stock.csv");
varnikquelo::CallResult r =
    control.call("AutoZeReporter", {stock, "", "", "stock.htm", "Stock", 0});
if (!r.ok()) std::cerr << r.error.number << ": " << r.error.message << "\n";)"},
      {"Message log",
       {"LogMessage"},
       R"(control.call("LogMessage", {"stock report written"});  // Reports/Log/ZeMessages.htm)"},
      {"About box",
       {"AboutBox"},
       R"(control.call("AboutBox");  // the product information box, which a QueloWidget shows)"},
  };
  return all;
}

// Roff text: a backslash is \e, and a line that starts with a dot or a quote is no request.
std::string roff(const std::string& text) {
  std::string out;
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    out += c == '\\' ? std::string("\\e") : std::string(1, c);
    lineStart = c == '\n';
  }
  return out;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The public value a parameter of this declared type takes.
std::string cppType(const std::string& typeName) {
  static const std::map<std::string, std::string> types = {
      {"String", "text"},        {"Boolean", "bool"},          {"Integer", "int (16-bit range)"},
      {"Long", "int32_t"},       {"Variant", "any Value"},     {"Recordset", "Records"},
      {"Object", "Empty (none)"}, {"OLE_COLOR", "int32_t, 0x00BBGGRR"}};
  auto it = types.find(typeName);
  return it != types.end() ? it->second : "int32_t, enum " + typeName;
}

std::string parameter(const ParamInfo& p, size_t position) {
  std::string out = std::to_string(position) + ". " + p.name + ": " + cppType(p.typeName);
  if (p.byRef) out += ", written back into args";
  if (p.optional) {
    out += ", optional";
    if (p.defaultValue && !p.defaultValue->isMissing()) {
      const std::string value = toString(*p.defaultValue).valueOr("");
      out += " (default " + (p.defaultValue->isString() ? "\"" + value + "\"" : value) + ")";
    }
  }
  return out;
}

void writeMember(std::ostream& o, const MemberInfo& m) {
  o << ".TP\n.B " << m.name << "\n";
  if (m.kind == MemberKind::Property) {
    o << "Property: " << cppType(m.params[0].typeName) << ", " << (m.writable ? "get and put" : "get only (put: error 383)");
    if (m.writable && m.params[0].byRef) o << "; the value put is adjusted as stored";
  } else {
    o << "Method: call(\"" << m.name << "\"" << (m.params.empty() ? "" : ", args") << ")";
    if (m.resultType) o << " gives " << cppType(*m.resultType);
  }
  if (m.dispid == 0) o << "; the default member";
  if (m.hidden) o << "; hidden from the type library's browsers";
  o << ".\n";
  for (size_t i = 0; i < m.params.size() && m.kind == MemberKind::Method; ++i)
    o << ".br\n" << roff(parameter(m.params[i], i + 1)) << "\n";
  if (m.help) o << ".br\n" << roff(*m.help) << "\n";
}

bool write(std::ostream& o, const std::string& version) {
  const TypeLibraryInfo& lib = zeQueloTypeLibrary();
  o << ".TH VARNIKQUELO-MEMBERS 3 \"\" \"VarnikQuelo " << version << "\" \"Library Functions Manual\"\n"
    << ".SH NAME\nvarnikquelo-members \\- the members of the control, for C++ hosts\n"
    << ".SH SYNOPSIS\n.nf\n#include <varnikquelo/control.h>\n\n"
    << "CallResult Control::call(const std::string& member, std::vector<Value>& args);\n"
    << "CallResult Control::get(const std::string& property);\n"
    << "ControlError Control::put(const std::string& property, const Value& value);\n.fi\n"
    << ".SH DESCRIPTION\nMembers are named in any letter case; arguments go in the member's order. "
    << "Text is UTF-8 (std::string, std::string_view or const char*); a null pointer is Null, which a "
    << "member that wants text refuses with error 94. A wrong argument gives error 13 naming the "
    << "argument by position and name, the type wanted and the type given; a missing one 449; a failing "
    << "source of records 3000 with the source's own message.\n";
  std::set<std::string> listed;
  for (const Group& g : groups()) {
    o << ".SH " << upper(g.title) << "\n";
    for (const std::string& name : g.members) {
      const MemberInfo* m = lib.findMember(name);
      if (!m) {
        std::cerr << "member-reference: " << name << " is no member of the type library\n";
        return false;
      }
      writeMember(o, *m);
      listed.insert(m->name);
    }
    o << ".PP\nExample:\n.PP\n.in +4n\n.EX\n" << roff(g.example) << "\n.EE\n.in\n";
  }
  for (const MemberInfo& m : lib.members)
    if (!listed.contains(m.name)) {
      std::cerr << "member-reference: " << m.name << " belongs to no group of the reference\n";
      return false;
    }
  o << ".SH EVENTS\nThe handler given to Control::onEvent receives each event by name with its arguments, "
    << "which it may change.\n";
  for (const EventInfo& e : lib.events) {
    o << ".TP\n.B " << e.name << "\n";
    for (size_t i = 0; i < e.params.size(); ++i) o << roff(parameter(e.params[i], i + 1)) << "\n.br\n";
    if (e.help) o << roff(*e.help) << "\n";
  }
  o << ".SH ENUMS\n";
  for (const EnumInfo& e : lib.enums) {
    o << ".TP\n.B " << e.name << "\n";
    std::string values;
    for (const auto& [name, value] : e.members) values += (values.empty() ? "" : ", ") + name + " = " + std::to_string(value);
    o << roff(values) << "\n";
  }
  o << ".SH SEE ALSO\n\\fBquelo-describe\\fR(1), \\fBquelo-call\\fR(1)\n";
  return true;
}

}  // namespace
}  // namespace quelo

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quelo-member-reference OUT VERSION\n";
    return 2;
  }
  std::ostringstream page;
  if (!quelo::write(page, argv[2])) return 1;
  std::ofstream out(argv[1], std::ios::binary);
  out << page.str();
  out.close();
  if (!out) {
    std::cerr << "member-reference: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
