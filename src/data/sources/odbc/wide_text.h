// UTF-8 to and from the UTF-16 of ODBC's wide functions and SQL_C_WCHAR values (SQLWCHAR is
// 16 bits under unixODBC). Ill-formed input (a lone surrogate, a broken UTF-8 sequence) becomes
// U+FFFD rather than being dropped.
#pragma once

#include <sql.h>

#include <string>
#include <string_view>

namespace quelo {

std::basic_string<SQLWCHAR> toWide(std::string_view utf8);
// Appends `count` UTF-16 units as UTF-8.
void appendUtf8(std::string& out, const SQLWCHAR* units, size_t count);

}  // namespace quelo
