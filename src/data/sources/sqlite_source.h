// Record sets from an SQLite database: the rows of one query, read-only. Columns get ADO type
// codes from their declared types (see sqliteColumnType); a column without one (an expression)
// takes its type from its first value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/recordset/field_list.h"
#include "data/recordset/row_source.h"
#include "platform/file_system.h"

namespace quelo {

// The query `sql` (one statement) on the database file; it is opened read-only on every run,
// once `files` (which outlives the source) finds it there. SQLite reads the file itself.
std::shared_ptr<RowSource> sqliteQuery(FileSystem& files, std::string databaseFile, std::string sql);

// A column's type code, attributes and defined size from its declared type, first match wins:
// INT within BIGINT 20, other INT 3; REAL, FLOA, DOUB 5; NUMERIC, DECIMAL 131; BOOL 11; DATE or
// TIME 135; CHAR(n) or VARCHAR(n) with a length 202; TEXT, CLOB or CHAR without a length 203;
// BLOB 205. None for a missing or unknown declared type.
std::optional<FieldInfo> sqliteColumnType(std::string_view declaredType);

}  // namespace quelo
