#include "data/sources/clickhouse_text.h"

#include "data/recordset/ado.h"
#include "data/sources/typed_text.h"

namespace quelo {
namespace {

FieldInfo typed(int32_t type, int32_t definedSize = 0) {
  return FieldInfo{"", type, definedSize > 0 ? definedSize : ado::defaultDefinedSize(type), ado::sourceAttributes(type)};
}

// T of "Wrapper(T)"; none when `type` is not wrapped so.
std::optional<std::string_view> unwrapped(std::string_view type, std::string_view wrapper) {
  if (!type.starts_with(wrapper) || type.size() < wrapper.size() + 2 || type[wrapper.size()] != '(' || type.back() != ')')
    return std::nullopt;
  return type.substr(wrapper.size() + 1, type.size() - wrapper.size() - 2);
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char unescaped(char c) {
  switch (c) {
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case '0': return '\0';
    case 'a': return '\a';
    case 'v': return '\v';
    default: return c;  // \\ \' \" and any other character stand for themselves
  }
}

std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

FieldInfo clickhouseColumnType(std::string_view type) {
  using namespace ado;
  for (bool again = true; again;) {
    again = false;
    for (std::string_view wrapper : {"Nullable", "LowCardinality"})
      if (auto inner = unwrapped(type, wrapper)) type = *inner, again = true;
  }
  if (type == "Int8" || type == "UInt8" || type == "Int16") return typed(adSmallInt);
  if (type == "UInt16" || type == "Int32") return typed(adInteger);
  if (type == "UInt32" || type == "Int64") return typed(adBigInt);
  if (type == "UInt64" || type == "Int128" || type == "UInt128" || type == "Int256" || type == "UInt256") return typed(adNumeric);
  if (type == "Float32") return typed(adSingle);
  if (type == "Float64") return typed(adDouble);
  if (type.starts_with("Decimal")) return typed(adNumeric);
  if (type == "Bool") return typed(adBoolean);
  if (type == "Date" || type == "Date32") return typed(adDBDate);
  if (type == "DateTime" || type.starts_with("DateTime(") || type.starts_with("DateTime64")) return typed(adDBTimeStamp);
  if (type == "UUID") return typed(adGUID);
  if (auto length = unwrapped(type, "FixedString")) {
    int32_t n = 0;
    for (char c : *length) n = c >= '0' && c <= '9' && n < 100000000 ? n * 10 + (c - '0') : -1;
    if (n > 0) return typed(adChar, n);
  }
  return typed(adLongVarWChar);
}

bool unescapeTsv(std::string_view escaped, std::string& out) {
  out.clear();
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '\\') {
      out.push_back(escaped[i]);
      continue;
    }
    if (++i == escaped.size()) return false;
    if (escaped[i] != 'x') {
      out.push_back(unescaped(escaped[i]));
      continue;
    }
    if (i + 2 >= escaped.size()) return false;
    const int hi = hexValue(escaped[i + 1]), lo = hexValue(escaped[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

void putClickhouseValue(RowTable& table, int64_t row, int column, int32_t type, std::string_view text) {
  if (type == ado::adSingle || type == ado::adDouble) {
    if (text == "inf" || text == "+inf") text = "Infinity";
    else if (text == "-inf") text = "-Infinity";
    else if (text == "nan" || text == "-nan") text = "NaN";
  }
  putTyped(table, row, column, type, text);
}

std::optional<std::string> serverException(std::string_view text) {
  if (!text.starts_with("Code: ")) return std::nullopt;
  size_t at = 6;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == 6) return std::nullopt;
  const std::string_view code = text.substr(6, at - 6), rest = text.substr(at);
  std::string_view words;
  for (std::string_view lead : {", e.displayText() = DB::Exception: ", ", e.displayText() = ", ". DB::Exception: "})
    if (rest.starts_with(lead)) {
      words = rest.substr(lead.size());
      break;
    }
  if (words.empty()) return std::nullopt;
  if (const size_t what = words.rfind(", e.what() = "); what != std::string_view::npos) words = words.substr(0, what);
  return oneLine(words) + " (code " + std::string(code) + ")";
}

}  // namespace quelo
