// Record sets from a PostgreSQL server (through libpq): the rows of one query, by connection
// string. Rows arrive one at a time (single-row mode), so a forward-only record set never holds
// the whole result. Column types: int2/int4/int8 adSmallInt/adInteger/adBigInt, float4/float8
// adSingle/adDouble, numeric adNumeric, bool adBoolean, date adDBDate, time adDBTime,
// timestamp(tz) adDBTimeStamp, varchar(n) adVarWChar, char(n) adChar, text (and varchar without
// a length, and every other type, in its text form) adLongVarWChar, bytea adLongVarBinary, uuid
// adGUID. A numeric value of more than 15 digits stays exact, as text.
#pragma once

#include <memory>
#include <string>

#include "data/recordset/row_source.h"

namespace quelo {

// Without libpq at build time, running the source is an error that says so.
std::shared_ptr<RowSource> postgresQuery(std::string connectionString, std::string sql);

}  // namespace quelo
