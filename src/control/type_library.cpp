#include "control/type_library.h"

namespace quelo {
namespace {

ParamInfo in(std::string name, ParamType type, std::string typeName) {
  return ParamInfo{std::move(name), type, std::move(typeName), false, false, std::nullopt};
}
ParamInfo inOut(std::string name, ParamType type, std::string typeName) {
  return ParamInfo{std::move(name), type, std::move(typeName), true, false, std::nullopt};
}
ParamInfo optional(ParamInfo p, std::optional<Variant> defaultValue) {
  p.optional = true;
  p.defaultValue = std::move(defaultValue);
  return p;
}

MemberInfo method(std::string name, int32_t id, std::vector<ParamInfo> params, std::optional<std::string> result,
                  std::optional<std::string> help) {
  MemberInfo m;
  m.name = std::move(name);
  m.kind = MemberKind::Method;
  m.dispid = id;
  m.params = std::move(params);
  m.resultType = std::move(result);
  m.help = std::move(help);
  return m;
}

MemberInfo property(std::string name, int32_t id, ParamInfo value, bool writable, std::optional<std::string> help) {
  MemberInfo m;
  m.name = std::move(name);
  m.kind = MemberKind::Property;
  m.dispid = id;
  m.params = {std::move(value)};
  m.readable = true;
  m.writable = writable;
  m.help = std::move(help);
  return m;
}

MemberInfo hidden(MemberInfo m) {
  m.hidden = true;
  return m;
}

std::vector<ParamInfo> reporterHead() {
  return {inOut("repRecordset", ParamType::Object, "Recordset"),
          optional(in("sPicFields", ParamType::String, "String"), Variant("")),
          // No default: an omitted folder means the shared application path, an empty one stays empty.
          optional(inOut("theGraphicFolder", ParamType::String, "String"), std::nullopt)};
}

std::vector<ParamInfo> reporterTail() {
  return {optional(inOut("forFutureUse", ParamType::Variant, "Variant"), std::nullopt),
          optional(inOut("ObjReserved", ParamType::Object, "Object"), std::nullopt)};
}

std::vector<ParamInfo> statusParams() {
  return {in("TotalPages", ParamType::Integer, "Integer"),
          in("ElapsedSeconds", ParamType::Long, "Long"),
          in("CurrentPage", ParamType::Integer, "Integer"),
          inOut("Cancel", ParamType::Boolean, "Boolean"),
          inOut("DeleteGeneratedPagesOnCancel", ParamType::Boolean, "Boolean"),
          inOut("forFututeUse", ParamType::Variant, "Variant")};
}

std::vector<MemberInfo> members() {
  const auto s = [](const char* n) { return in(n, ParamType::String, "String"); };
  std::vector<ParamInfo> autoParams = reporterHead();
  autoParams.push_back(optional(s("fileName"), Variant("")));
  autoParams.push_back(optional(s("FileTitle"), Variant("")));
  autoParams.push_back(optional(in("AutoRepAction", ParamType::Long, "repDisplayAndPrint"), Variant(int32_t{10})));
  for (ParamInfo& p : reporterTail()) autoParams.push_back(std::move(p));
  std::vector<ParamInfo> showParams = reporterHead();
  for (ParamInfo& p : reporterTail()) showParams.push_back(std::move(p));

  return {
      method("AdvancedSettings", 0x6003001F, {in("Setting", ParamType::Long, "ReportAdvSetttings")}, "Variant",
             "returns specified user setting of  report customization preferences"),
      property("Tag", 0x68030008, s("Tag"), true,
               "Sets\\Returns a text expression that stores any extra data needed for your program"),
      property("DeveloperCompany", 0x68030007, s("DeveloperCompany"), true,
               "Sets developer company name (i.e. Organization) to be  displayed in ReportForm caption to End-User."),
      property("BackColor", -501, in("BackColor", ParamType::Long, "OLE_COLOR"), true,
               "Returns/sets the background color for the control"),
      property("Enabled", -514, in("Enabled", ParamType::Boolean, "Boolean"), true,
               "Returns/sets whether control can respond to user generated events"),
      hidden(property("ApplicationPath", 0x68030006, inOut("ApplicationPath", ParamType::String, "String"), true,
                      std::nullopt)),
      property("DoTimer", 0x68030005, in("DoTimer", ParamType::Boolean, "Boolean"), true,
               "Returns/sets whether control manifest Timer capability"),
      property("Interval", 0x68030004, in("Interval", ParamType::Long, "Long"), true,
               "Returns/sets Timer period in Seconds"),
      property("MaxRecsPerPage", 0x68030003, inOut("MaxRecsPerPage", ParamType::Long, "MaxRecsOnPage"), true,
               "Sets maximum number of records to display per page in generated reports"),
      method("SupplyFileName", 0x60030009,
             {optional(s("Dialog_Caption"), Variant("Supply Filename")),
              optional(inOut("InitDir", ParamType::String, "String"), Variant("")),
              optional(inOut("FileType", ParamType::Long, "DirFileType"), Variant(int32_t{0})),
              optional(inOut("VerifyFileExistence", ParamType::Boolean, "Boolean"), Variant(true)),
              optional(inOut("GraphicOrEditControl", ParamType::Object, "Object"), std::nullopt),
              optional(in("ShowInsertButton", ParamType::Long, "InsertButton"), Variant(int32_t{0}))},
             "String",
             "Returns a filename from end-user as a File Dialogbox. Could also be used to make an image the picture "
             "property of a specified Control or to embed a file in a textEditing Control that supports the "
             "OLEObject property"),
      method("LongFileName", 0x6003000A, {s("Short_Name")}, "String", "Returns the windows long file name for a short file name"),
      method("justFileName", 0x6003000B, {s("pathName")}, "String", "Returns the actual filename from a pathName"),
      method("ShortFileName", 0x6003000C, {s("Long_Name")}, "String", "Returns the windows short file name for a long file name"),
      method("FileFolder", 0x6003000D, {s("FullFileName")}, "String",
             "Returns the Folder containing a file. NB: FileFolder +justFileName = Pathname = FullFileName"),
      method("OpenHyperlink", 0x6003000E,
             {s("Destination"), optional(in("StartNewInstanceOfBrowser", ParamType::Boolean, "Boolean"), Variant(false))},
             "Boolean", "Returns whether the control succeeded in activating the link (URL, e-mail address or filename)"),
      method("ShowZeReporter", 0, showParams, "Boolean",
             "Returns whether the ReportForm was displayed successfully for user to generate report."),
      method("AutoZeReporter", 0x6003000F, autoParams, "Boolean",
             "Returns whether the ReportForm was processed successfully for automatic generation of report."),
      hidden(method("RaiseZeReportStatus", 0x60030010, statusParams(), std::nullopt, std::nullopt)),
      method("LogMessage", 0x60030011,
             {in("strMessage", ParamType::Variant, "Variant"),
              optional(inOut("TextHandlingBox", ParamType::Object, "Object"), std::nullopt)},
             std::nullopt,
             "Appends message to ZeMessages.htm or date_Stamped file in Reports\\Log subfolder and optionally to a "
             "text editing control"),
      method("AboutBox", -552, {}, std::nullopt, "Displays product information box"),
      property("hWnd", 0x68030002, in("hWnd", ParamType::Long, "Long"), false,
               "returns the window handle of the control instance"),
      property("CurrentRecordset", 0x68030001, in("CurrentRecordset", ParamType::Object, "Recordset"), false,
               "Returns a reference to the last received recordset by the control."),
      method("ProgramDelayNSec", 0x6003001D, {optional(inOut("N", ParamType::Long, "Long"), Variant(int32_t{5}))},
             std::nullopt, "Delay program execution for N seconds (0 < N < 86400)"),
  };
}

std::vector<EventInfo> events() {
  return {
      EventInfo{"ZeTimer", dispid::kZeTimer, {}, "Timer Event raised at specified Interval"},
      EventInfo{"Click", dispid::kClick, {},
                "Event occurs whenever the control receive a single mouse click or equivalent action"},
      EventInfo{"ReportStatus", dispid::kReportStatus, statusParams(),
                "Returns the status of an autoReport being generated."},
  };
}

std::vector<EnumInfo> enums() {
  return {
      {"MaxRecsOnPage",
       {{"Ze_FiveRecs", 5}, {"Ze_TenRecs", 10}, {"Ze_TwentyRecs", 20}, {"Ze_HundredRecs", 100},
        {"Ze_TwoHunRecs", 200}, {"Ze_FiveHunRecs", 500}, {"Ze_ThouRecs", 1000}}},
      {"repDisplayAndPrint", {{"rNoNo", 0}, {"rNoYes", 1}, {"rYesNo", 10}, {"rYesYes", 11}}},
      {"DirFileType",
       {{"Ze_All_Files", 0}, {"Ze_Document_Files", 1}, {"Ze_Picture_Files", 2}, {"Ze_Executable_Files", 3},
        {"Ze_Library_Files", 4}, {"Ze_Internet_Files", 5}, {"Ze_Sound_Files", 6}, {"Ze_Movie_Files", 7}}},
      {"InsertButton", {{"Ze_BDocument", 0}, {"Ze_BBackground", 1}}},
      {"ReportAdvSetttings",
       {{"Ra_Header", 0}, {"Ra_Footer", 1}, {"Ra_UseNotes", 2}, {"Ra_NotesOnTop", 3}, {"Ra_Notes", 4}, {"Ra_Logo", 5},
        {"Ra_Signature", 6}, {"Ra_Website", 7}, {"Ra_Email", 8}, {"Ra_AllPages", 9}}},
  };
}

}  // namespace

const TypeLibraryInfo& zeQueloTypeLibrary() {
  static const TypeLibraryInfo library{"VarnikQuelo", "2.1", "ZeQuelo", "_ZeQuelo", "__ZeQuelo",
                                       members(), events(), enums()};
  return library;
}

}  // namespace quelo
