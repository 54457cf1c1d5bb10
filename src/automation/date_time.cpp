#include "automation/date_time.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace quelo {
namespace {

constexpr int64_t kEpochOffsetDays = 25569;      // 1970-01-01 as an automation date
constexpr double kFirstDay = -693959;            // 0000-01-01
constexpr double kLastDay = 2958465;             // 9999-12-31
constexpr double kLastSecond = 86399 / 86400.0;  // 23:59:59 as a fraction of a day
constexpr int64_t kEpochWeekday = 6;             // 1899-12-30, day 0, was a Saturday (Sunday is 0)

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

bool readInt(std::string_view s, size_t pos, size_t len, int& out) {
  if (pos + len > s.size()) return false;
  out = 0;
  for (size_t i = pos; i < pos + len; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    out = out * 10 + (s[i] - '0');
  }
  return true;
}

bool readTime(std::string_view s, size_t pos, CivilTime& c) {
  if (!readInt(s, pos, 2, c.hour) || pos + 2 >= s.size() || s[pos + 2] != ':' ||
      !readInt(s, pos + 3, 2, c.minute))
    return false;
  size_t end = pos + 5;
  if (end < s.size() && s[end] == ':') {
    if (!readInt(s, end + 1, 2, c.second)) return false;
    end += 3;
  }
  // A fraction of a second or a zone designator may follow; both are ignored.
  if (end < s.size() && s[end] != '.' && s[end] != 'Z' && s[end] != '+' && s[end] != '-' &&
      s[end] != ' ')
    return false;
  return c.hour < 24 && c.minute < 60 && c.second < 60;
}

// Writes `value` in `width` digits with leading zeros, as printf's "%0<width>d" does; returns the
// end of what it wrote.
char* writePadded(char* out, int value, int width) {
  if (width == 2 && value >= 0 && value < 100) {  // a month, a day, a time's parts
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
  }
  static constexpr int kTens[] = {1, 10, 100, 1000, 10000};
  if (width >= 1 && width <= 4 && value >= 0 &&
      value < kTens[width]) {  // fits its width: the usual case
    for (int i = width - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
    return out + width;
  }
  char digits[16];
  char* first = digits + sizeof digits;
  for (int64_t n = value < 0 ? -static_cast<int64_t>(value) : value;
       first == digits + sizeof digits || n; n /= 10)
    *--first = static_cast<char>('0' + n % 10);
  if (value < 0) *out++ = '-';
  for (auto zeros = width - (digits + sizeof digits - first) - (value < 0); zeros > 0; --zeros)
    *out++ = '0';
  return std::copy(first, digits + sizeof digits, out);
}

// Writes three numbers joined by `separator`: the first in `firstWidth` digits, the others in two.
// Returns the end of what it wrote (at most 40 characters).
char* writeTriple(char* out, int first, int firstWidth, char separator, int second, int third) {
  out = writePadded(out, first, firstWidth);
  *out++ = separator;
  out = writePadded(out, second, 2);
  *out++ = separator;
  return writePadded(out, third, 2);
}

char* writeShortDate(char* out, const CivilTime& c) {
  return writeTriple(out, c.year, 4, '-', c.month, c.day);
}
char* writeLongTime(char* out, const CivilTime& c) {
  return writeTriple(out, c.hour, 2, ':', c.minute, c.second);
}

}  // namespace

Date dateFromCivil(const CivilTime& c) {
  const int64_t days = daysFromCivil(c.year, c.month, c.day) + kEpochOffsetDays;
  const double fraction = (c.hour * 3600 + c.minute * 60 + c.second) / 86400.0;
  // Automation dates before 1899-12-30 carry the time as a positive fraction of a negative day.
  return Date{days < 0 ? days - fraction : days + fraction};
}

// Before 1899-12-30 the day is the whole part of a negative serial and the time its fraction.
bool isDateInRange(Date d) {
  return d.serial > kFirstDay - 1 && d.serial < kLastDay + 1;
}

CivilTime civilFromDate(Date d) {
  const double serial = std::isnan(d.serial)
                            ? 0.0
                            : std::clamp(d.serial, kFirstDay - kLastSecond, kLastDay + kLastSecond);
  const double whole = std::trunc(serial);
  int64_t seconds = std::llround(std::fabs(serial - whole) * 86400.0);
  int64_t days = static_cast<int64_t>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  CivilTime c;
  civilFromDays(days - kEpochOffsetDays, c.year, c.month, c.day);
  c.hour = static_cast<int>(seconds / 3600);
  c.minute = static_cast<int>(seconds / 60 % 60);
  c.second = static_cast<int>(seconds % 60);
  return c;
}

namespace {

std::tm tmOf(const CivilTime& c) {
  std::tm t{};
  t.tm_year = c.year - 1900;
  t.tm_mon = c.month - 1;
  t.tm_mday = c.day;
  t.tm_hour = c.hour;
  t.tm_min = c.minute;
  t.tm_sec = c.second;
  return t;
}

}  // namespace

std::chrono::system_clock::time_point timePointFromDate(Date d) {
  std::tm local = tmOf(civilFromDate(d));
  local.tm_isdst = -1;  // as the zone's rules say for that day
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

Date dateFromTimePoint(std::chrono::system_clock::time_point t) {
  const std::time_t secs = std::chrono::system_clock::to_time_t(t);
  std::tm local{};
  localtime_r(&secs, &local);
  return dateFromCivil({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec});
}

namespace {

// A civil time through strftime: day and month names are the C locale's unless the host set
// another.
std::string formatTime(const char* format, const CivilTime& c) {
  std::tm t = tmOf(c);
  const int64_t day = static_cast<int64_t>(std::floor(dateFromCivil(c).serial));
  t.tm_wday = static_cast<int>((day % 7 + 7 + kEpochWeekday) % 7);
  char buf[128];
  const size_t n = std::strftime(buf, sizeof buf, format, &t);
  return std::string(buf, n);
}

}  // namespace

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string formatLongDate(Date d) {
  const CivilTime c = civilFromDate(d);
  return formatTime("%A, %B ", c) + std::to_string(c.day) + formatTime(", %Y", c);
}

std::string formatTwelveHourTime(const CivilTime& c) {
  return formatTime("%I:%M:%S %p", c);
}

char* formatGeneralDate(Date d, char* out) {
  const CivilTime c = civilFromDate(d);
  const bool hasTime = c.hour || c.minute || c.second;
  if (std::trunc(d.serial) == 0 && hasTime) return writeLongTime(out, c);
  out = writeShortDate(out, c);
  if (!hasTime) return out;
  *out++ = ' ';
  return writeLongTime(out, c);
}

std::string formatGeneralDate(Date d) {
  char text[kGeneralDateMax];
  return std::string(text, formatGeneralDate(d, text));
}

std::optional<Date> parseIsoDate(std::string_view s) {
  CivilTime c;
  if (s.size() >= 5 && s[2] == ':') {
    if (!readTime(s, 0, c)) return std::nullopt;
    return Date{(c.hour * 3600 + c.minute * 60 + c.second) / 86400.0};
  }
  if (!readInt(s, 0, 4, c.year) || s.size() < 10 || s[4] != '-' || s[7] != '-' ||
      !readInt(s, 5, 2, c.month) || !readInt(s, 8, 2, c.day))
    return std::nullopt;
  if (c.month < 1 || c.month > 12 || c.day < 1) return std::nullopt;
  if (c.day > daysInMonth(c.year, c.month)) return std::nullopt;
  if (s.size() > 10) {
    if ((s[10] != 'T' && s[10] != ' ') || !readTime(s, 11, c)) return std::nullopt;
  }
  return dateFromCivil(c);
}

}  // namespace quelo
