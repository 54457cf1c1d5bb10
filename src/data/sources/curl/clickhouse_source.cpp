// Streams the rows of a ClickHouse query over HTTP: the answer is read a piece at a time as the
// rows are asked for (libcurl's multi interface), so memory holds a piece, not the result.
#include "data/sources/clickhouse_source.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "automation/text.h"
#include "data/recordset/ado.h"
#include "data/sources/clickhouse_text.h"
#include "data/sources/curl/curl_library.h"
#include "data/sources/query_statement.h"

namespace quelo {
namespace {

constexpr size_t kKeptErrorBody = 64 * 1024;  // of an error page, enough for its message
constexpr long kConnectSeconds = 15;

Error failed(const std::string& why) { return ado::dataSourceError("ClickHouse: " + why); }

// What lies between <title> and </title> of an HTML page, or its start.
std::string pageTitle(std::string_view page) {
  const std::string lower = toLower(page);
  const size_t open = lower.find("<title>"), close = lower.find("</title>");
  std::string_view title = page.substr(0, 200);
  if (open != std::string::npos && close != std::string::npos && close > open) title = page.substr(open + 7, close - open - 7);
  std::string out(title);
  std::replace_if(out.begin(), out.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  return out;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> values;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    values.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return values;
    start = tab + 1;
  }
}

// The server's exception anywhere in a line: at its start, or after the part of a row written
// before the query failed.
std::optional<std::string> exceptionIn(std::string_view line) {
  for (size_t at = line.find("Code: "); at != std::string_view::npos; at = line.find("Code: ", at + 1))
    if (auto words = serverException(line.substr(at))) return words;
  return std::nullopt;
}

// The user's URL made the query's: http or https, no path, no parameter but database, and
// readonly=1 added. `server` gets "scheme://host:port" for messages (never the password).
class QueryUrl {
 public:
  explicit QueryUrl(const LibCurl& curl) : curl_(curl), url_(curl.curl_url()) {}
  ~QueryUrl() { curl_.curl_url_cleanup(url_); }
  QueryUrl(const QueryUrl&) = delete;
  QueryUrl& operator=(const QueryUrl&) = delete;

  Status parse(const std::string& given) {
    if (!url_ || curl_.curl_url_set(url_, CURLUPART_URL, given.c_str(), 0) != CURLUE_OK)
      return failed("'" + withoutPassword(given) + "' is not a URL (http://[USER[:PASSWORD]@]HOST[:PORT][/?database=NAME])");
    const std::string scheme = part(CURLUPART_SCHEME, 0);
    if (scheme != "http" && scheme != "https") return failed("the URL must start with http:// or https://, not " + scheme + "://");
    server_ = scheme + "://" + part(CURLUPART_HOST, 0) + ":" + part(CURLUPART_PORT, CURLU_DEFAULT_PORT);
    const std::string path = part(CURLUPART_PATH, 0);
    if (path != "/" && !path.empty()) return failed("the URL of a server has no path (" + path + "); name the database as ?database=NAME");
    if (!part(CURLUPART_FRAGMENT, 0).empty()) return failed("the URL has a #fragment, which a server's URL has not");
    const std::string parameters = part(CURLUPART_QUERY, 0);
    for (std::string_view parameter : splitOn(parameters, '&'))
      if (!parameter.empty() && !parameter.starts_with("database="))
        return failed("the URL's parameter '" + std::string(parameter.substr(0, parameter.find('='))) +
                      "' is not taken: only database=NAME (settings are the report's: readonly=1)");
    if (curl_.curl_url_set(url_, CURLUPART_QUERY, "readonly=1", CURLU_APPENDQUERY) != CURLUE_OK) return failed("out of memory");
    full_ = part(CURLUPART_URL, 0);
    return Status::ok();
  }
  const std::string& server() const { return server_; }
  const std::string& full() const { return full_; }

  // The URL with "user:password@" as "user@", for messages.
  static std::string withoutPassword(const std::string& url) {
    const size_t at = url.find('@'), scheme = url.find("://");
    if (at == std::string::npos || scheme == std::string::npos || at < scheme) return url;
    const size_t colon = url.find(':', scheme + 3);
    if (colon == std::string::npos || colon > at) return url;
    return url.substr(0, colon) + url.substr(at);
  }

 private:
  std::string part(CURLUPart which, unsigned flags) const {
    char* text = nullptr;
    if (curl_.curl_url_get(url_, which, &text, flags) != CURLUE_OK || !text) return "";
    std::string out(text);
    curl_.curl_free(text);
    return out;
  }
  static std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= text.size();) {
      const size_t end = std::min(text.find(separator, start), text.size());
      parts.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return parts;
  }

  const LibCurl& curl_;
  CURLU* url_;
  std::string server_, full_;
};

// A run of the query: one HTTP request whose answer is read as the rows are.
class ClickhouseStream : public RowStream {
 public:
  ~ClickhouseStream() override {
    if (!curl_) return;
    if (multi_ && easy_) curl_->curl_multi_remove_handle(multi_, easy_);
    if (easy_) curl_->curl_easy_cleanup(easy_);
    if (multi_) curl_->curl_multi_cleanup(multi_);
    if (headers_) curl_->curl_slist_free_all(headers_);
  }

  Status start(const std::string& url, const std::string& sql) {
    auto library = libCurl();
    if (!library) return library.error();
    curl_ = library.value();
    QueryUrl query(*curl_);
    if (Status s = query.parse(url); !s) return s;
    server_ = query.server();
    if (Status s = checkOneQuery(sql, "ClickHouse", "ClickHouse"); !s) return s;
    body_ = withoutEndingSemicolon(sql) + "\nFORMAT TabSeparatedWithNamesAndTypes";
    if (Status s = send(query.full()); !s) return s;
    return readHead();
  }

  const std::vector<FieldInfo>& fields() const override { return fields_; }

  Result<bool> readRow(RowTable& table) override {
    auto line = nextLine();
    if (!line) return line.error();
    if (!line.value()) {
      if (result_ != CURLE_OK) return failed("the answer of " + server_ + " broke off after " + std::to_string(rows_) + " rows: " + transferError());
      return false;
    }
    const std::string_view text = *line.value();
    if (auto words = exceptionIn(text)) return failed("the query failed after " + std::to_string(rows_) + " rows: " + *words);
    const std::vector<std::string_view> values = splitTabs(text);
    if (values.size() != fields_.size())
      return failed("row " + std::to_string(rows_ + 1) + " of the answer has " + std::to_string(values.size()) + " values, not " +
                    std::to_string(fields_.size()));
    const int64_t r = table.appendRow();
    for (size_t c = 0; c < values.size(); ++c) {
      if (values[c] == "\\N") {
        table.setNull(r, static_cast<int>(c));
        continue;
      }
      if (!unescapeTsv(values[c], value_)) return failed("row " + std::to_string(rows_ + 1) + " holds a cut escape");
      putClickhouseValue(table, r, static_cast<int>(c), fields_[c].type, value_);
    }
    ++rows_;
    return true;
  }

 private:
  // The query without the ";" (and blanks) that may end it: FORMAT follows it.
  static std::string withoutEndingSemicolon(std::string sql) {
    while (!sql.empty() && std::string_view(" \t\r\n\f\v").find(sql.back()) != std::string_view::npos) sql.pop_back();
    if (!sql.empty() && sql.back() == ';') sql.pop_back();
    return sql;
  }

  Status send(const std::string& url) {
    easy_ = curl_->curl_easy_init();
    multi_ = curl_->curl_multi_init();
    if (!easy_ || !multi_) return failed("out of memory");
    headers_ = curl_->curl_slist_append(nullptr, "Expect:");  // the body goes at once, unasked
    headers_ = headers_ ? curl_->curl_slist_append(headers_, "Content-Type: text/plain; charset=UTF-8") : nullptr;
    if (!headers_) return failed("out of memory");
    errorText_[0] = '\0';
    const auto set = curl_->curl_easy_setopt;
    bool ok = set(easy_, CURLOPT_URL, url.c_str()) == CURLE_OK && set(easy_, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
              set(easy_, CURLOPT_NOSIGNAL, 1L) == CURLE_OK && set(easy_, CURLOPT_CONNECTTIMEOUT, kConnectSeconds) == CURLE_OK &&
              set(easy_, CURLOPT_ERRORBUFFER, errorText_) == CURLE_OK && set(easy_, CURLOPT_HTTPHEADER, headers_) == CURLE_OK &&
              set(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size())) == CURLE_OK &&
              set(easy_, CURLOPT_POSTFIELDS, body_.data()) == CURLE_OK &&
              set(easy_, CURLOPT_WRITEFUNCTION, &ClickhouseStream::received) == CURLE_OK && set(easy_, CURLOPT_WRITEDATA, this) == CURLE_OK;
    if (!ok || curl_->curl_multi_add_handle(multi_, easy_) != CURLM_OK) return failed("the HTTP library refuses the request's settings");
    return Status::ok();
  }

  static size_t received(char* data, size_t size, size_t count, void* self) {
    auto* stream = static_cast<ClickhouseStream*>(self);
    stream->buffer_.append(data, size * count);
    return size * count;
  }

  // The status, then the columns' names and types; an answer that is not ClickHouse's rows is
  // an Error in the words of what answered.
  Status readHead() {
    while (!done_ && buffer_.find('\n') == std::string::npos)
      if (Status s = pump(); !s) return s;
    long status = 0;
    curl_->curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    if (status == 0) return failed("cannot reach " + server_ + ": " + transferError());
    const std::string type = contentType();
    if (status != 200 || type.starts_with("text/html")) return answerError(status, type);
    auto names = nextLine();
    if (!names) return names.error();
    if (!names.value()) return failed(server_ + " answered without the columns' names: " + transferError());
    std::vector<std::string> columnNames;
    for (std::string_view name : splitTabs(*names.value())) {
      if (!unescapeTsv(name, value_)) return failed("the answer's first line is not the columns' names");
      columnNames.push_back(value_);
    }
    auto types = nextLine();
    if (!types) return types.error();
    if (!types.value()) return failed(server_ + " answered without the columns' types: " + transferError());
    if (auto words = exceptionIn(*types.value())) return failed(*words);
    const std::vector<std::string_view> columnTypes = splitTabs(*types.value());
    if (columnTypes.size() != columnNames.size()) return failed("the answer's second line is not the columns' types");
    for (size_t c = 0; c < columnNames.size(); ++c) {
      if (!unescapeTsv(columnTypes[c], value_)) return failed("the answer's second line is not the columns' types");
      FieldInfo f = clickhouseColumnType(value_);
      f.name = columnNames[c].empty() ? "Column" + std::to_string(c + 1) : columnNames[c];
      fields_.push_back(std::move(f));
    }
    return Status::ok();
  }

  // An answer other than rows: the server's exception, a proxy's page, or its start.
  Error answerError(long status, const std::string& type) {
    while (!done_ && buffer_.size() < kKeptErrorBody)
      if (Status s = pump(); !s) return s.error();
    const std::string_view body = std::string_view(buffer_).substr(0, kKeptErrorBody);
    if (auto words = serverException(body)) return failed(*words);
    const std::string what = server_ + " answered HTTP " + std::to_string(status);
    if (type.starts_with("text/html")) return failed(what + " with an HTML page, not ClickHouse's rows: " + pageTitle(body));
    std::string start(body.substr(0, 300));
    std::replace_if(start.begin(), start.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return failed(what + (start.empty() ? "" : ": " + start));
  }

  std::string contentType() const {
    char* type = nullptr;
    curl_->curl_easy_getinfo(easy_, CURLINFO_CONTENT_TYPE, &type);
    return type ? toLower(type) : "";
  }

  std::string transferError() const {
    if (errorText_[0]) return errorText_;
    return curl_->curl_easy_strerror(result_);
  }

  // The next line of the answer without its line feed, valid until the next call; none at the
  // end of the answer (or when the transfer failed: result_ says). A last line without a line
  // feed is a cut answer.
  Result<std::optional<std::string_view>> nextLine() {
    for (;;) {
      const size_t end = buffer_.find('\n', read_);
      if (end != std::string::npos) {
        const std::string_view line(buffer_.data() + read_, end - read_);
        read_ = end + 1;
        return std::optional<std::string_view>(line);
      }
      if (done_) {
        if (read_ < buffer_.size() && result_ == CURLE_OK) {
          if (auto words = exceptionIn(std::string_view(buffer_).substr(read_))) return failed("the query failed after " + std::to_string(rows_) + " rows: " + *words);
          return failed("the answer of " + server_ + " ends inside a row");
        }
        return std::optional<std::string_view>();
      }
      buffer_.erase(0, read_);
      read_ = 0;
      if (Status s = pump(); !s) return s.error();
    }
  }

  // Lets the transfer run until more of the answer arrived or it ended.
  Status pump() {
    const size_t before = buffer_.size();
    while (!done_ && buffer_.size() == before) {
      int running = 0;
      if (CURLMcode m = curl_->curl_multi_perform(multi_, &running); m != CURLM_OK) return failed(curl_->curl_multi_strerror(m));
      if (running == 0) {
        int left = 0;
        const CURLMsg* message = curl_->curl_multi_info_read(multi_, &left);
        result_ = message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
        done_ = true;
      } else if (buffer_.size() == before) {
        if (CURLMcode m = curl_->curl_multi_poll(multi_, nullptr, 0, 1000, nullptr); m != CURLM_OK) return failed(curl_->curl_multi_strerror(m));
      }
    }
    return Status::ok();
  }

  const LibCurl* curl_ = nullptr;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* headers_ = nullptr;
  char errorText_[CURL_ERROR_SIZE] = {};
  std::string server_, body_;
  std::string buffer_;  // the answer received and not yet read, from read_ on
  size_t read_ = 0;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  int64_t rows_ = 0;
  std::vector<FieldInfo> fields_;
  std::string value_;  // a value without its escapes
};

class ClickhouseQuery : public RowSource {
 public:
  ClickhouseQuery(std::string url, std::string sql) : url_(std::move(url)), sql_(std::move(sql)) {}

  Result<std::unique_ptr<RowStream>> run() const override { return startStream<ClickhouseStream>(url_, sql_); }
  std::string description() const override { return "clickhouse:" + QueryUrl::withoutPassword(url_); }

 private:
  std::string url_, sql_;
};

}  // namespace

std::shared_ptr<RowSource> clickhouseQuery(std::string url, std::string sql) {
  return std::make_shared<ClickhouseQuery>(std::move(url), std::move(sql));
}

}  // namespace quelo
