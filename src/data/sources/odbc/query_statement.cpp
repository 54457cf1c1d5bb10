#include "data/sources/odbc/query_statement.h"

#include "automation/text.h"

namespace quelo {

std::string leadingKeyword(std::string_view sql) {
  size_t at = 0;
  while (at < sql.size()) {
    const char c = sql[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(') {
      ++at;
    } else if (sql.substr(at, 2) == "--") {
      at = sql.find('\n', at);
    } else if (sql.substr(at, 2) == "/*") {
      const size_t end = sql.find("*/", at + 2);
      at = end == std::string_view::npos ? end : end + 2;
    } else {
      break;
    }
  }
  if (at >= sql.size()) return "";
  size_t end = at;
  while (end < sql.size() && (isalpha(static_cast<unsigned char>(sql[end])) || sql[end] == '_')) ++end;
  return toUpper(sql.substr(at, end - at));
}

bool isQueryKeyword(std::string_view keyword) {
  for (std::string_view query : {"SELECT", "WITH", "VALUES", "TABLE", "SHOW"})
    if (keyword == query) return true;
  return false;
}

}  // namespace quelo
