// The ODBC driver manager (unixODBC), loaded when a query first needs it, as the PostgreSQL
// client library is: the command line starts as fast on a machine without it, and drivers (with
// their own dependencies) are loaded only by a run that reads through ODBC.
#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "automation/status.h"

namespace quelo {

#define QUELO_ODBC_FUNCTIONS(X)                                                                    \
  X(SQLAllocHandle) X(SQLBindCol) X(SQLColAttribute) X(SQLDescribeColW) X(SQLDisconnect)          \
  X(SQLDriverConnectW) X(SQLEndTran) X(SQLExecDirectW) X(SQLExecute) X(SQLFetch) X(SQLFreeHandle)   \
  X(SQLGetData) X(SQLGetDiagRecW) X(SQLGetInfoW) X(SQLNumResultCols) X(SQLPrepareW)               \
  X(SQLSetConnectAttr) X(SQLSetEnvAttr) X(SQLSetStmtAttr)

// The driver manager's functions used here, under their own names.
struct Odbc {
#define QUELO_ODBC_MEMBER(name) decltype(&::name) name = nullptr;
  QUELO_ODBC_FUNCTIONS(QUELO_ODBC_MEMBER)
#undef QUELO_ODBC_MEMBER
};

// The driver manager, loaded once per process; an Error says why it cannot be loaded.
Result<const Odbc*> odbc();

}  // namespace quelo
