// What the ODBC source knows of particular servers, beyond what every driver says of itself.
#pragma once

#include <string_view>

namespace quelo {

struct ServerDialect {
  std::string_view dbms;  // the prefix of its SQL_DBMS_NAME
  // Makes the session read-only, which a driver may not, and its transactions read one snapshot
  // of the data (REPEATABLE READ).
  std::string_view readOnlySession;
  // For a driver that hands out SQL_C_CHAR text in the session's character set as received: a
  // query for that character set. When it is UTF-8, text is fetched as it is instead of as
  // UTF-16, which such drivers convert value by value at many times the cost.
  std::string_view characterSetQuery;
};

// The dialect of the server by its SQL_DBMS_NAME; none for a server not known here.
const ServerDialect* serverDialect(std::string_view dbmsName);

}  // namespace quelo
