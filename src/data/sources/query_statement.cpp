#include "data/sources/query_statement.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "automation/text.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

// How one server reads the parts of a text that are not SQL: its quotes and comments. A text
// that two servers read differently could hide a second statement from one reading: the text
// passes only when every reading of the server's finds a single query (every reading of all of
// them, for a server not known here). A server reads its quotes in one of two ways, as a session
// setting says.
struct Reading {
  std::string_view server;
  std::string_view dbms[2];        // the SQL_DBMS_NAME prefixes of the servers that read so
  bool nestedComments = false;     // "/* /* */ */" is one comment
  bool hashComments = false;       // "#" comments to the end of the line
  bool dashNeedsBlank = false;     // "--" comments only before a blank or control character
  bool backslashInSingle = false;  // '\'' holds a quote
  bool backslashInDouble = false;  // "\"" holds a quote
  bool eStrings = false;           // E'...' holds backslash escapes
  bool dollarQuotes = false;       // $tag$ ... $tag$
  bool backquotes = false;         // `name`
  bool backslashInBackquotes = false;  // `\`` holds a backquote
  bool brackets = false;           // [name]
};

constexpr Reading kReadings[] = {
    {.server = "PostgreSQL", .dbms = {"PostgreSQL"}, .nestedComments = true, .eStrings = true, .dollarQuotes = true},
    {.server = "PostgreSQL without standard_conforming_strings", .dbms = {"PostgreSQL"},
     .nestedComments = true, .backslashInSingle = true, .eStrings = true, .dollarQuotes = true},
    {.server = "MariaDB", .dbms = {"MariaDB", "MySQL"}, .hashComments = true, .dashNeedsBlank = true, .backslashInSingle = true,
     .backslashInDouble = true, .backquotes = true},
    {.server = "MariaDB with NO_BACKSLASH_ESCAPES", .dbms = {"MariaDB", "MySQL"}, .hashComments = true,
     .dashNeedsBlank = true, .backquotes = true},
    {.server = "SQLite", .dbms = {"SQLite"}, .backquotes = true, .brackets = true},
    // Later ClickHouse versions nest comments and take "#" comments; earlier ones do neither.
    {.server = "ClickHouse", .dbms = {"ClickHouse"}, .nestedComments = true, .hashComments = true, .backslashInSingle = true,
     .backslashInDouble = true, .backquotes = true, .backslashInBackquotes = true},
    {.server = "ClickHouse 18", .dbms = {"ClickHouse"}, .backslashInSingle = true, .backslashInDouble = true,
     .backquotes = true, .backslashInBackquotes = true},
};

constexpr std::string_view kQueries = "SELECT, WITH, VALUES, TABLE or SHOW";

bool isQueryKeyword(std::string_view keyword) {
  for (std::string_view query : {"SELECT", "WITH", "VALUES", "TABLE", "SHOW"})
    if (keyword == query) return true;
  return false;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Letters, digits, "_", "$" and the bytes of non-ASCII characters make up names and numbers.
bool isWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// One pass over the text as `reading_` reads it.
class StatementReader {
 public:
  StatementReader(std::string_view sql, const Reading& reading, std::string_view source)
      : sql_(sql), reading_(reading), source_(source) {}

  Status read() {
    while (at_ < sql_.size()) {
      const char c = sql_[at_];
      if (isBlank(c)) {
        ++at_;
        continue;
      }
      if (std::optional<Status> comment = skipComment(); comment) {
        if (!*comment) return *comment;
        continue;
      }
      if (ended_) return refused("the query goes on after its ';': a report runs one statement");
      if (Status s = token(); !s) return s;
    }
    if (keyword_.empty()) return refused("the query is empty");
    return Status::ok();
  }

 private:
  // Past a comment at the reading position: nothing when there is none there, else whether it
  // is one the server skips.
  std::optional<Status> skipComment() {
    const std::string_view rest = sql_.substr(at_);
    if (rest.starts_with("--") && (!reading_.dashNeedsBlank || rest.size() == 2 || static_cast<unsigned char>(rest[2]) <= ' '))
      return skipLine();
    if (rest.starts_with("#") && reading_.hashComments) return skipLine();
    if (!rest.starts_with("/*")) return std::nullopt;
    if (rest.starts_with("/*!") || rest.starts_with("/*M!") || rest.starts_with("/*m!"))
      return refused("MariaDB and MySQL run the text of a /*! ... */ comment: a report runs one plain query");
    int depth = 1;
    for (size_t i = at_ + 2; i + 1 < sql_.size(); ++i) {
      if (reading_.nestedComments && rest.compare(i - at_, 2, "/*") == 0) {
        ++depth;
        ++i;
      } else if (rest.compare(i - at_, 2, "*/") == 0) {
        ++i;
        if (--depth == 0) {
          at_ = i + 1;
          return Status::ok();
        }
      }
    }
    return refused("a /* comment is not closed");
  }

  // A line comment ends at a line feed; a carriage return alone, where some servers end it and
  // others do not, is refused.
  Status skipLine() {
    const size_t end = std::min(sql_.find('\n', at_), sql_.size());
    const std::string_view comment = sql_.substr(at_, end - at_);
    if (const size_t cr = comment.find('\r'); cr != std::string_view::npos && cr + 1 != comment.size())
      return refused("a carriage return inside a line comment ends it for some servers only");
    at_ = std::min(end + 1, sql_.size());
    return Status::ok();
  }

  Status token() {
    const char c = sql_[at_];
    if (isWordChar(c) && c != '$') return word();
    if (c == '$' && reading_.dollarQuotes) return dollarQuote();
    if (c == '\'') return quoted('\'', reading_.backslashInSingle);
    if (c == '"') return quoted('"', reading_.backslashInDouble);
    if (c == '`' && reading_.backquotes) return quoted('`', reading_.backslashInBackquotes);
    if (c == '[' && reading_.brackets) return quoted(']', false);
    ++at_;
    previous_.clear();
    if (c == '(') return Status::ok();
    if (Status s = starts(std::string(1, c)); !s) return s;
    if (c == ';') ended_ = true;
    return Status::ok();
  }

  Status word() {
    const size_t start = at_;
    while (at_ < sql_.size() && isWordChar(sql_[at_])) ++at_;
    const std::string upper = toUpper(sql_.substr(start, at_ - start));
    if (Status s = starts(upper); !s) return s;
    if (previous_ == "INTO" && (upper == "OUTFILE" || upper == "DUMPFILE"))
      return refused("a report only reads: INTO " + upper + " writes a file on the server");
    previous_ = upper;
    if (upper == "E" && reading_.eStrings && at_ < sql_.size() && sql_[at_] == '\'') return quoted('\'', true);
    return Status::ok();
  }

  // $tag$ ... $tag$, or a parameter such as $1.
  Status dollarQuote() {
    size_t end = at_ + 1;
    while (end < sql_.size() && isWordChar(sql_[end]) && sql_[end] != '$') ++end;
    const bool isTag = end < sql_.size() && sql_[end] == '$' && !std::isdigit(static_cast<unsigned char>(sql_[at_ + 1]));
    previous_.clear();
    if (!isTag) {
      at_ = end;
      return starts("$");
    }
    const std::string_view tag = sql_.substr(at_, end + 1 - at_);
    const size_t close = sql_.find(tag, end + 1);
    if (close == std::string_view::npos) return refused("the quote " + std::string(tag) + " is not closed");
    at_ = close + tag.size();
    return starts(std::string(tag));
  }

  // Quoted text or a quoted name from its opening character to `close`; a doubled `close` is
  // one of it.
  Status quoted(char close, bool backslash) {
    const char open = sql_[at_];
    previous_.clear();
    for (size_t i = at_ + 1; i < sql_.size(); ++i) {
      if (backslash && sql_[i] == '\\') {
        ++i;
      } else if (sql_[i] == close && i + 1 < sql_.size() && sql_[i + 1] == close) {
        ++i;
      } else if (sql_[i] == close) {
        at_ = i + 1;
        return starts(std::string(1, open));
      }
    }
    return refused(std::string("the quote ") + open + " is not closed");
  }

  // The statement's first token, when it is `what`: a query starts with a query's keyword.
  Status starts(const std::string& what) {
    if (!keyword_.empty()) return Status::ok();
    keyword_ = what;
    if (isQueryKeyword(what)) return Status::ok();
    return refused("a report only reads: " + what + " is not a query (" + std::string(kQueries) + ")");
  }

  Status refused(const std::string& why) const { return ado::dataSourceError(std::string(source_) + ": " + why); }

  std::string_view sql_;
  const Reading& reading_;
  std::string_view source_;
  size_t at_ = 0;
  std::string keyword_;   // the statement's first word in upper case, or what stands in its place
  std::string previous_;  // the word before, in upper case, when the last token was one
  bool ended_ = false;    // past the ";" that ends the statement
};

bool readsAs(const Reading& reading, std::string_view dbms) {
  for (std::string_view name : reading.dbms)
    if (!name.empty() && dbms.starts_with(name)) return true;
  return false;
}

}  // namespace

// A refusal names the server whose reading refuses the text, unless every reading does alike.
Status checkOneQuery(std::string_view sql, std::string_view dbms, std::string_view source) {
  if (sql.find('\0') != std::string_view::npos)
    return ado::dataSourceError(std::string(source) + ": the query holds a NUL character");
  const bool known = std::any_of(std::begin(kReadings), std::end(kReadings), [&](const Reading& r) { return readsAs(r, dbms); });
  const Reading* first = nullptr;
  Status refusal;
  bool allAlike = true;
  for (const Reading& reading : kReadings) {
    if (known && !readsAs(reading, dbms)) continue;
    Status s = StatementReader(sql, reading, source).read();
    if (!first && !s) {
      first = &reading;
      refusal = s;
    }
    allAlike = allAlike && !s && s.error().message == refusal.error().message;
  }
  if (!first || allAlike) return refusal;
  return ado::dataSourceError(refusal.error().message + " (as " + std::string(first->server) + " reads the text)");
}

}  // namespace quelo
