// The companion analysis module: the version text, the record count of a log,
// and the reading of an access's time stamp. Called in-process with the
// argument and result conventions the rest of the program relies on.
//
// Time stamp of a "1#" record, after the ")" of the page name: optional spaces,
// year (4 digits), "/" or "-", month (1-2 digits), the same separator, day
// (1-2 digits), any run of non-digits, hour (1-2 digits) ":" minute (2 digits),
// optionally ":" second (2 digits); for example "1#(index)2001/12/05 09:03:07".
// Weeks start on Sunday and week 1 holds 1 January.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorel::analysis {

inline constexpr const char* kCompanionVersion = "1.00";

// Writes the version text into the 10-byte buffer (no terminating NUL is
// written; the caller fills the buffer with spaces beforehand). Returns 1.
int32_t aa_get_version(char* buffer);

// The number of records of a log: LF bytes plus TAB bytes, plus 1 when the file
// is not empty and does not end with LF; -1 when it cannot be read.
// `limit` (10000 by the callers) is accepted and ignored.
int32_t aa_get_analize_line(const char* path, int32_t limit);

// Reads the time stamp of a "1#" record (NUL-terminated) and judges the date
// filter (`specifyDate` -1 on, 0 off; dates as "yyyy/m/d", both inclusive).
// Returns 1 when the access counts, and then sets the five slot indices:
// month 1..12, week 1..54, weekday 1..7 (1 = Sunday), day 1..31, hour 0..24.
// Returns 0 for an unreadable stamp or a date outside the period.
int32_t aa_check_date(int32_t& month, int32_t& week, int32_t& dweek, int32_t& day, int32_t& hour,
                      const char* record, const char* startDate, const char* endDate, int32_t specifyDate);

// The date filter of aa_check_date, read once: dates as yyyymmdd numbers.
struct DateFilter {
  bool on = false;
  long startKey = -1;
  long endKey = -1;
  static DateFilter From(const char* startDate, const char* endDate, int32_t specifyDate);
};

struct PeriodSlots {
  int32_t month = -1, week = -1, dweek = -1, day = -1, hour = -1;
};

// What aa_check_date does, on a record that need not be NUL-terminated.
bool CheckTimeStamp(std::string_view record, const DateFilter& filter, PeriodSlots& slots);

// What aa_check_date does once it has read a real date and an hour: judges
// the date filter and, when the date is in, sets the slots.
bool DateSlots(int year, int month, int day, int hour, const DateFilter& filter, PeriodSlots& slots);

// aa_get_analize_line for the current log file (LogFile entry 1), or -1 when
// the call fails.
int32_t GetLogLineCount();

}  // namespace vorel::analysis
