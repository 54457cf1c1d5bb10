// The PostgreSQL client library, loaded when a query first needs it. Linked in, it would load
// its two dozen dependencies (TLS, Kerberos, LDAP ...) at the start of every run of every
// program, whether it reads from PostgreSQL or not.
#pragma once

#include <libpq-fe.h>

#include "automation/status.h"

namespace quelo {

#define QUELO_LIBPQ_FUNCTIONS(X)                                                                   \
  X(PQclear) X(PQconnectdb) X(PQerrorMessage) X(PQexec) X(PQexecParams) X(PQfinish) X(PQfmod) X(PQfname)          \
  X(PQftype) X(PQgetResult) X(PQgetisnull) X(PQgetlength) X(PQgetvalue) X(PQnfields) X(PQntuples)           \
  X(PQresultErrorField) X(PQresultErrorMessage) X(PQresultStatus) X(PQsendQueryParams)           \
  X(PQsetClientEncoding) X(PQsetSingleRowMode) X(PQstatus)

// The library's functions used here, under their own names.
struct LibPq {
#define QUELO_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
  QUELO_LIBPQ_FUNCTIONS(QUELO_LIBPQ_MEMBER)
#undef QUELO_LIBPQ_MEMBER
};

// The library, loaded once per process; an Error says why it cannot be loaded.
Result<const LibPq*> libPq();

}  // namespace quelo
