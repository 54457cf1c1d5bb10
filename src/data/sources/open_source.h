// Opening a record set from a description of its source: an SQLite file and query, a CSV file
// (delimiter, encoding, strict quotes), a PostgreSQL or ODBC connection and query, a ClickHouse
// URL and query, or the bundled sample data. The command line and quelo-gui both open theirs here.
#pragma once

#include <memory>
#include <string>

#include "automation/status.h"
#include "data/recordset/row_source.h"
#include "data/sources/csv_reader.h"

namespace quelo {

class Recordset;
class RowSource;

enum class SourceKind { Sample, Sqlite, Csv, Postgres, Odbc, Clickhouse };

struct SourceDescription {
  SourceKind kind = SourceKind::Sample;
  std::string location;  // the SQLite or CSV file ("-": standard input), the connection string, or the URL
  std::string query;     // of every kind but CSV and the sample
  CsvFormat csv;
};

// The folder of the sample data with a trailing "/": $QUELO_SAMPLE_DIR when set, else the
// installed data directory beside the program's folder (PREFIX/share/varnikquelo/sample for
// PREFIX/bin/quelo), else the folder the build wrote it to.
std::string sampleDataFolder();
// The sample data's picture field, and the folder of the pictures it names (with a trailing "/").
inline constexpr const char* kSamplePictureField = "Picture";
std::string samplePictureFolder();

// The records of `source` as a report reads them (see openCountedOrWhole), read from the
// machine's files; an Error says which source failed and why.
Result<std::shared_ptr<Recordset>> openSource(const SourceDescription& source,
                                              Counting counting = Counting::First);

// The records of `source` as a report reads them: a counted run, read once as the pages are
// written; a source that cannot count ahead is read whole first. Counted while read, the run
// is counted on a thread of its own while its first records are handed out: only for a reader
// that drops all it made when the source fails part-way (see spoolRowsBehind).
Result<std::shared_ptr<Recordset>> openCountedOrWhole(std::shared_ptr<RowSource> source,
                                                      Counting counting = Counting::First);

}  // namespace quelo
