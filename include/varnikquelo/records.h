// Records: where the records of a report come from, for the typed reporting API (report.h) and as
// the record set argument of the control's reporter members (control.h). A Records handle names
// a source (an SQLite, PostgreSQL, ODBC or ClickHouse query, a CSV file, or the host's own records); the
// source is read when a report is made, and again for every report made from the same handle.
//
// Lifetimes and threads: a handle is a shared reference, cheap to copy; it keeps a host's
// RecordSource alive for as long as any copy lives (a control keeps the last one it reported on,
// CurrentRecordset). A source is read on the thread that makes the report, inside that call;
// reports made on two threads at once from one RecordSource read it in two passes at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <varnikquelo/export.h>
#include <varnikquelo/value.h>

namespace varnikquelo {

// The type of a field of the host's records, which decides how a report shows its values: numbers
// and dates as numbers and dates, long text as text that may hold links ("caption#address#").
enum class FieldType { Boolean, Int32, Int64, Double, Date, Text, LongText };

struct Field {
  std::string name;
  FieldType type = FieldType::Text;
};

// One pass over the host's records, from the first to the last.
class QUELO_API RecordCursor {
 public:
  virtual ~RecordCursor();
  // Puts the next record's values into `row`, one per field in the fields' order, and returns
  // true; returns false after the last record. Throwing a std::exception fails the pass: its
  // what() is the error the report or call gives.
  virtual bool next(std::vector<Value>& row) = 0;
  // How many records this pass gives, or -1 when it cannot say ahead; a count the pass then
  // does not keep to is an error, never a shortened report.
  virtual int64_t count() const { return -1; }
};

// The host's own records: implemented by the host. A report reads one pass of them; the control
// may start a second pass (to count, to read them again) before the first is finished, so passes
// must not share their position.
class QUELO_API RecordSource {
 public:
  virtual ~RecordSource();
  // Unique, non-empty names (ignoring letter case).
  virtual std::vector<Field> fields() const = 0;
  // A new pass from the first record; may throw a std::exception as next() may.
  virtual std::unique_ptr<RecordCursor> read() const = 0;
};

class QUELO_API Records {
 public:
  Records();  // no records: reporting on it is an error
  static Records sqlite(std::string databaseFile, std::string query);
  // The first line names the fields; each column's type is inferred from its values.
  static Records csv(std::string file, char delimiter = ',');
  // A file in another encoding, as iconv names it ("WINDOWS-1252", "ISO-8859-1"); a byte that is
  // no character of it is an error naming the file and line.
  static Records csv(std::string file, char delimiter, std::string encoding);
  static Records postgres(std::string connectionString, std::string query);
  // A connection string ("DRIVER=...;SERVER=...") or a data source name.
  static Records odbc(std::string connection, std::string query);
  // A ClickHouse server over HTTP: "http://[USER[:PASSWORD]@]HOST[:PORT][/?database=NAME]".
  static Records clickhouse(std::string url, std::string query);
  static Records host(std::shared_ptr<const RecordSource> source);
  // Records held in memory: each row has one value per field.
  static Records table(std::vector<Field> fields, std::vector<std::vector<Value>> rows);

  explicit operator bool() const { return impl_ != nullptr; }

 private:
  // What a handle holds is the library's own.
  struct Impl;
  friend struct RecordsAccess;
  explicit Records(std::shared_ptr<const Impl> impl);
  std::shared_ptr<const Impl> impl_;
};

}  // namespace varnikquelo
