// Whether an SQL text is one query: a report only reads, and a source that reaches any database
// cannot leave that to every driver (some ignore a read-only session, some run a batch of
// statements given as one text).
#pragma once

#include <string_view>

#include "automation/status.h"

namespace quelo {

// Ok for one SELECT, WITH, VALUES, TABLE or SHOW statement, with at most a ";" and blanks or
// comments after it; else why not, in a sentence. The text is read as the server named `dbms`
// (its SQL_DBMS_NAME) reads it in each of its string modes (PostgreSQL, MariaDB and MySQL,
// SQLite, ClickHouse), or as each of them does for a server not known here, and refused when any reading
// finds a second statement, a statement that is no query, a comment the server runs (/*! */,
// /*M! */), a file it writes (INTO OUTFILE, INTO DUMPFILE), or quotes or a comment left open.
// A refusal starts with `source` ("ODBC: ...").
Status checkOneQuery(std::string_view sql, std::string_view dbms, std::string_view source);

}  // namespace quelo
