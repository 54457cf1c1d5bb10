#include "report_options.h"

#include <charconv>
#include <functional>
#include <map>

#include "control/type_library.h"
#include "automation/collection.h"
#include "automation/text.h"
#include "data/sources/decoding_input.h"

namespace quelo::cli {
namespace {

constexpr int kSettingCount = 10;

Error optionError(const std::string& message) {
  return makeError(0, message);
}

Result<int32_t> wholeNumber(const std::string& option, const std::string& text, int32_t low,
                            int32_t high) {
  int32_t n = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end || n < low || n > high)
    return optionError(option + " needs a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not '" + text + "'");
  return n;
}

// NAME=VALUE, both parts present.
Result<std::pair<std::string, std::string>> nameValue(const std::string& option,
                                                      const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0)
    return optionError(option + " needs NAME=VALUE, not '" + text + "'");
  return std::pair{text.substr(0, eq), text.substr(eq + 1)};
}

// Page paths are printed one a line: a name holding a line break (or any other control
// character, C0, DEL or C1) would print as something else, so it is refused.
Status checkNameCharacters(const std::string& option, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0 &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80;
    if (c < 0x20 || c == 0x7F || c1)
      return optionError(option + " must not hold control characters (such as a line break)");
  }
  return Status::ok();
}

// The index of a ReportAdvSetttings member (any letter case).
std::optional<int32_t> settingIndex(const std::string& name) {
  for (const EnumInfo& e : zeQueloTypeLibrary().enums)
    if (e.name == "ReportAdvSetttings")
      for (const auto& [member, value] : e.members)
        if (equalsIgnoreCase(member, name)) return value;
  return std::nullopt;
}

// The settings that the report converts to a Boolean: an unconvertible value would be ignored
// silently there, so it is refused here.
bool isBooleanSetting(int32_t index) {
  return index == 2 || index == 3 || index == 9;
}

// Folders on the command line are relative to the current one; the report keeps only anchored
// folders, so each entry of the comma-separated list is made absolute (empty entries stay empty).
std::string anchoredFolders(const std::string& list) {
  std::string out;
  size_t at = 0;
  for (;;) {
    const size_t comma = list.find(',', at);
    const std::string entry =
        trimSpaces(list.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    out += entry.empty() ? std::string() : absoluteFolder(entry);
    if (comma == std::string::npos) return out;
    out += ',';
    at = comma + 1;
  }
}

// One character that separates CSV fields; a tab may be written "\t" or "tab".
Result<char> delimiterOf(const std::string& text) {
  if (text == "\\t" || equalsIgnoreCase(text, "tab")) return '\t';
  if (text.size() != 1 || text == "\"" || text == "\r" || text == "\n")
    return optionError("--delimiter needs one character other than a quote or a line break (or \\t or tab), not '" +
                       text + "'");
  return text.front();
}

class Parser {
 public:
  Result<ReportOptions> parse(const Words& args);

 private:
  using Handler = std::function<Status(const std::string&)>;
  Status setSource(SourceKind kind, const std::string& option, const std::string& location);
  Status addSetting(const std::string& text);
  Status addField(const std::string& text);
  Status finish();
  void csvOnly(const char* option) {
    if (csvOption_.empty()) csvOption_ = option;
  }
  std::map<std::string, Handler> valueOptions();
  std::map<std::string, std::function<void()>> flagOptions();

  ReportOptions o_;
  std::string sourceOption_;
  bool hasQuery_ = false;
  std::optional<char> delimiter_;
  std::string csvOption_;  // the first option given that only a CSV file takes
  std::shared_ptr<VariantArray> settings_;
  std::shared_ptr<Collection> fields_;
};

Status Parser::setSource(SourceKind kind, const std::string& option, const std::string& location) {
  if (!sourceOption_.empty())
    return optionError("give one data source only (" + sourceOption_ + " and " + option + ")");
  if (location.empty()) return optionError(option + " needs a non-empty value");
  sourceOption_ = option;
  o_.source = kind;
  o_.location = location;
  return Status::ok();
}

Status Parser::addSetting(const std::string& text) {
  auto nv = nameValue("--setting", text);
  if (!nv) return nv.error();
  const auto& [name, value] = nv.value();
  const std::optional<int32_t> index = settingIndex(name);
  if (!index)
    return optionError("--setting: unknown setting '" + name + "' (Ra_Header ... Ra_AllPages)");
  if (isBooleanSetting(*index) && !toBool(Variant(value)))
    return optionError("--setting " + name + " needs true, false or a number, not '" + value + "'");
  if (!settings_) {
    settings_ =
        std::make_shared<VariantArray>(std::vector<VariantArray::Bound>{{0, kSettingCount}});
    for (Variant& v : settings_->elements()) v = Variant::missing();
  }
  settings_->elements()[static_cast<size_t>(*index)] = Variant(value);
  return Status::ok();
}

Status Parser::addField(const std::string& text) {
  auto nv = nameValue("--field", text);
  if (!nv) return nv.error();
  const auto& [name, value] = nv.value();
  auto n = wholeNumber("--field " + name, value, INT32_MIN, INT32_MAX);
  if (!n) return n.error();
  if (!fields_) fields_ = Collection::create();
  if (!fields_->add(Variant(n.value()), name))
    return optionError("--field " + name + " is given twice");
  o_.fieldNames.push_back(name);
  return Status::ok();
}

std::map<std::string, Parser::Handler> Parser::valueOptions() {
  auto text = [](Variant& target) {
    return [&target](const std::string& v) {
      target = Variant(v);
      return Status::ok();
    };
  };
  auto number = [](const std::string& option, auto& target, int32_t low, int32_t high) {
    return [option, &target, low, high](const std::string& v) -> Status {
      auto n = wholeNumber(option, v, low, high);
      if (!n) return n.error();
      target = n.value();
      return Status::ok();
    };
  };
  return {
      {"--sqlite",
       [this](const std::string& v) { return setSource(SourceKind::Sqlite, "--sqlite", v); }},
      {"--csv", [this](const std::string& v) { return setSource(SourceKind::Csv, "--csv", v); }},
      {"--postgres",
       [this](const std::string& v) { return setSource(SourceKind::Postgres, "--postgres", v); }},
      {"--odbc", [this](const std::string& v) { return setSource(SourceKind::Odbc, "--odbc", v); }},
      {"--clickhouse",
       [this](const std::string& v) { return setSource(SourceKind::Clickhouse, "--clickhouse", v); }},
      {"--query",
       [this](const std::string& v) {
         o_.query = v;
         hasQuery_ = true;
         return Status::ok();
       }},
      {"--app-path",
       [this](const std::string& v) -> Status {
         if (Status s = checkNameCharacters("--app-path", v); !s) return s;
         o_.appPath = v;
         return Status::ok();
       }},
      {"--file",
       [this](const std::string& v) -> Status {
         if (Status s = checkNameCharacters("--file", v); !s) return s;
         o_.fileName = Variant(v);
         return Status::ok();
       }},
      {"--title", text(o_.title)},
      {"--pic-fields", text(o_.picFields)},
      {"--graphic-folder", text(o_.graphicFolder)},
      {"--company",
       [this](const std::string& v) {
         o_.company = v;
         return Status::ok();
       }},
      {"--action",
       [this](const std::string& v) -> Status {
         if (v != "0" && v != "1" && v != "10" && v != "11")
           return optionError("--action needs 0, 1, 10 or 11, not '" + v + "'");
         o_.action = std::stoi(v);
         return Status::ok();
       }},
      {"--max-recs", number("--max-recs", o_.maxRecs, 1, INT16_MAX)},
      {"--cancel-at-page", number("--cancel-at-page", o_.cancelAtPage, 1, INT16_MAX)},
      {"--delimiter",
       [this](const std::string& v) -> Status {
         auto d = delimiterOf(v);
         if (!d) return d.error();
         delimiter_ = d.value();
         csvOnly("--delimiter");
         return Status::ok();
       }},
      {"--encoding",
       [this](const std::string& v) -> Status {
         if (Status s = checkEncoding(v); !s) return optionError("--encoding: " + s.error().message);
         o_.csv.encoding = v;
         csvOnly("--encoding");
         return Status::ok();
       }},
      {"--setting", [this](const std::string& v) { return addSetting(v); }},
      {"--field", [this](const std::string& v) { return addField(v); }},
  };
}

std::map<std::string, std::function<void()>> Parser::flagOptions() {
  return {{"--delete-on-cancel", [this] { o_.deleteOnCancel = true; }},
          {"--escape-values", [this] { o_.output.escapeValues = true; }},
          {"--copy-pictures", [this] { o_.output.copyPictures = true; }},
          {"--replace", [this] { o_.output.replaceEarlier = true; }},
          {"--pdf", [this] { o_.output.pdf = true; }},
          {"--strict-quotes",
           [this] {
             o_.csv.strictQuotes = true;
             csvOnly("--strict-quotes");
           }},
          {"--quiet", [this] { o_.quiet = true; }},
          {"--help", [this] { o_.help = true; }},
          {"-h", [this] { o_.help = true; }}};
}

Result<ReportOptions> Parser::parse(const Words& args) {
  const auto values = valueOptions();
  const auto flags = flagOptions();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const size_t eq = word.starts_with("--") ? word.find('=') : std::string::npos;
    const std::string name = word.substr(0, eq);
    if (auto flag = flags.find(name); flag != flags.end() && eq == std::string::npos) {
      flag->second();
      continue;
    }
    auto option = values.find(name);
    if (option == values.end()) {
      if (flags.contains(name)) return optionError(name + " takes no value");
      if (word.starts_with("-")) return optionError("unknown option '" + word + "'");
      return optionError("unexpected argument '" + word + "'");
    }
    if (eq == std::string::npos && i + 1 == args.size())
      return optionError(name + " needs a value");
    const std::string value = eq == std::string::npos ? args[++i] : word.substr(eq + 1);
    if (Status s = option->second(value); !s) return s.error();
  }
  if (Status s = finish(); !s) return s.error();
  return std::move(o_);
}

Status Parser::finish() {
  const bool wantsQuery =
      o_.source == SourceKind::Sqlite || o_.source == SourceKind::Postgres || o_.source == SourceKind::Odbc ||
      o_.source == SourceKind::Clickhouse;
  if (wantsQuery && (!hasQuery_ || o_.query.empty()))
    return optionError(sourceOption_ + " needs --query SQL");
  if (!wantsQuery && hasQuery_) return optionError("--query goes with --sqlite, --postgres, --odbc or --clickhouse");
  if (!csvOption_.empty() && o_.source != SourceKind::Csv) return optionError(csvOption_ + " goes with --csv");
  if (delimiter_) o_.csv.delimiter = *delimiter_;
  else if (toLower(o_.location).ends_with(".tsv")) o_.csv.delimiter = '\t';
  if (o_.graphicFolder.isString())
    o_.graphicFolder = Variant(anchoredFolders(o_.graphicFolder.asString()));
  if (settings_) o_.forFutureUse = Variant(settings_);
  if (fields_) {
    auto reserved = Collection::create();
    (void)reserved->add(Variant(std::static_pointer_cast<Dispatch>(fields_)));
    o_.objReserved = Variant(std::static_pointer_cast<Dispatch>(reserved));
  }
  return Status::ok();
}

}  // namespace

Result<ReportOptions> parseReportOptions(const Words& args) {
  return Parser().parse(args);
}

}  // namespace quelo::cli
