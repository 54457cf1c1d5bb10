// Record sets from any database with an ODBC driver (through unixODBC): the rows of one query, by
// connection string ("DRIVER=...;SERVER=...", "DSN=name;UID=...") or by data source name alone.
// Rows are fetched in blocks of up to 1,024 (fewer for wide rows) into column-wise buffers; a
// result with a long column (unbounded text or binary) is fetched a row at a time and the long
// values in pieces, whatever their length. The next batch of rows is fetched and converted on a
// thread of its own while the rows of the current one are read. Errors carry the driver's diagnostic records.
//
// The session only reads: it asks the driver for a read-only connection, sets the server's own
// read-only mode where it knows the server (PostgreSQL, MariaDB and MySQL transactions, SQLite's
// query_only), runs the query in a transaction that is always rolled back, and refuses any
// statement that does not begin with SELECT, WITH, VALUES, TABLE or SHOW (a driver that ignores
// read-only, or a server that ends a transaction on DDL, would otherwise let it write).
//
// Column types (SQL type code of the result column -> ADO type):
//   SQL_TINYINT adSmallInt; SQL_SMALLINT adSmallInt (unsigned adInteger); SQL_INTEGER adInteger
//   (unsigned adBigInt); SQL_BIGINT adBigInt (unsigned adNumeric, exact as text); SQL_REAL
//   adSingle; SQL_FLOAT, SQL_DOUBLE adDouble; SQL_NUMERIC, SQL_DECIMAL adNumeric (more than 15
//   digits stay exact, as text); SQL_BIT adBoolean; SQL_TYPE_DATE adDBDate; SQL_TYPE_TIME
//   adDBTime; SQL_TYPE_TIMESTAMP adDBTimeStamp; SQL_(W)CHAR(n) adChar; SQL_(W)VARCHAR(n)
//   adVarWChar; SQL_(W)LONGVARCHAR and text without a length adLongVarWChar; SQL_BINARY,
//   SQL_VARBINARY, SQL_LONGVARBINARY adLongVarBinary; SQL_GUID adGUID; every other type, in its
//   text form, adLongVarWChar. Attributes and defined sizes as for the other sources
//   (ado::sourceAttributes; n for CHAR(n) and VARCHAR(n)).
#pragma once

#include <memory>
#include <string>

#include "data/recordset/row_source.h"

namespace quelo {

// A connection without "=" is a data source name. Without unixODBC at build time, running the
// source is an error that says so.
std::shared_ptr<RowSource> odbcQuery(std::string connection, std::string sql);

}  // namespace quelo
