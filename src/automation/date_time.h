// Automation dates (days since 1899-12-30) and their text forms. Dates are written in the C
// locale's short date, ISO 8601 (2009-03-07), and times as 24-hour hh:mm:ss.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quelo {

struct CivilTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// Whether a date lies from 0000-01-01 to 9999-12-31, the dates written with a four-digit year:
// the range in which numbers convert to dates and dates to text.
bool isDateInRange(Date d);
Date dateFromCivil(const CivilTime& c);
// A date outside the range reads as the nearest end of it.
CivilTime civilFromDate(Date d);
// Local wall-clock time as an automation date.
Date dateFromTimePoint(std::chrono::system_clock::time_point t);
// An automation date, taken as local wall-clock time, as a point in time.
std::chrono::system_clock::time_point timePointFromDate(Date d);

// Days in a month (1 to 12) of the proleptic Gregorian calendar.
int daysInMonth(int year, int month);

// The long date and the 12-hour time of the C locale: "Saturday, March 7, 2009", "02:05:09 PM".
std::string formatLongDate(Date d);
std::string formatTwelveHourTime(const CivilTime& c);
// General date: the short date, then the long time when there is a time part; a time alone when
// there is no date part.
std::string formatGeneralDate(Date d);
// The most characters formatGeneralDate gives ("9999-12-31 23:59:59").
inline constexpr size_t kGeneralDateMax = 19;
// The same, written at `out` (room for kGeneralDateMax characters); returns its end.
char* formatGeneralDate(Date d, char* out);

// "2009-03-07", "2009-03-07 14:05:09", "2009-03-07T14:05:09" (fraction and zone ignored),
// "14:05:09".
std::optional<Date> parseIsoDate(std::string_view text);

}  // namespace quelo
