// The time stamp of a web server's log line, read as the instant it names and
// the offset from UTC the server wrote with it. Nothing here depends on a
// time zone database: turning the instant into a wall-clock time of a chosen
// zone is time_zone.h's work.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorel::analysis {

// An instant plus the offset it was logged with.
struct LoggedTime {
  int64_t utcSeconds = 0;     // seconds since 1970-01-01 00:00:00 UTC
  int32_t offsetSeconds = 0;  // east of UTC: +0900 is 32400
};

// Reads the stamp between a log line's brackets, in either form servers write:
//   "10/Oct/2026:13:55:36 +0900"   (Apache %t, nginx $time_local)
//   "2026-10-10T13:55:36+09:00"    (nginx $time_iso8601; "Z" for UTC, and a
//                                   fraction of a second is allowed and dropped)
// A stamp without its offset is taken as UTC. False for anything that is not a
// real date and time: day 0, 31 Feb, hour 24 or later, minute or second 60 or
// later, a year outside 0001..9999, an offset of 24 hours or more, or any text
// before or after the stamp.
bool ParseServerTime(std::string_view text, LoggedTime& out);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);

// Days in a month (February by the Gregorian leap rule).
int DaysInMonth(int year, int month);

}  // namespace vorel::analysis
