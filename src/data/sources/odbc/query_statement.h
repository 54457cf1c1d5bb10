// Whether an SQL text is a query: a report only reads, and a source that reaches any database
// cannot leave that to every driver (some ignore a read-only session).
#pragma once

#include <string>
#include <string_view>

namespace quelo {

// The first word of the statement in upper case, past blanks, comments ("-- ..." and "/* ... */")
// and opening parentheses; empty when there is none.
std::string leadingKeyword(std::string_view sql);
// SELECT, WITH, VALUES, TABLE and SHOW statements.
bool isQueryKeyword(std::string_view keyword);

}  // namespace quelo
