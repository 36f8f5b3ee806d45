#include "analysis/logged_time.h"

#include <array>
#include <cstring>
#include <optional>

namespace vorel::analysis {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `count` digits at `pos` as a number; -1 when any of them is not a digit.
int Number(std::string_view s, size_t pos, size_t count) {
  if (pos + count > s.size()) return -1;
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!IsDigit(s[pos + i])) return -1;
    value = value * 10 + (s[pos + i] - '0');
  }
  return value;
}

// Two digits at p as a number; -1 when either is not a digit.
int TwoDigits(const char* p) {
  const unsigned tens = static_cast<unsigned>(p[0] - '0'), ones = static_cast<unsigned>(p[1] - '0');
  return tens < 10 && ones < 10 ? static_cast<int>(tens * 10 + ones) : -1;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "Oct" (any letter case) → 10; 0 when not a month.
int MonthNumber(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                               "jul", "aug", "sep", "oct", "nov", "dec"};
  if (name.size() != 3) return 0;
  for (size_t i = 0; i < kMonths.size(); ++i)
    if (Lower(name[0]) == kMonths[i][0] && Lower(name[1]) == kMonths[i][1] && Lower(name[2]) == kMonths[i][2])
      return static_cast<int>(i) + 1;
  return 0;
}

// "+0900", "+09:00", "-0530" or "Z" filling all of `zone`; false otherwise.
bool ParseOffset(std::string_view zone, int32_t& offset) {
  if (zone == "Z") {
    offset = 0;
    return true;
  }
  if (zone.size() != 5 && zone.size() != 6) return false;
  if (zone[0] != '+' && zone[0] != '-') return false;
  const size_t minutesAt = zone.size() == 6 ? 4 : 3;
  if (zone.size() == 6 && zone[3] != ':') return false;
  const int hours = TwoDigits(zone.data() + 1);
  const int minutes = TwoDigits(zone.data() + minutesAt);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return false;
  offset = (zone[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
  return true;
}

struct Fields {
  int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1;
  int32_t offset = 0;
  std::optional<int64_t> days;  // the date as days since 1970, once known to be real
};

bool IsRealDate(int year, int month, int day) {
  return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

// dd/Mon/yyyy:HH:MM:SS[ zone]
bool ReadCommonForm(std::string_view s, Fields& f) {
  if (s.size() < 20 || s[2] != '/' || s[6] != '/' || s[11] != ':' || s[14] != ':' || s[17] != ':') return false;
  // A log runs in time order, so most stamps begin with the date of the one before.
  struct LastDate {
    char text[11] = {};
    std::optional<int64_t> days;  // nothing: not a real date
  };
  static thread_local LastDate last;
  if (std::memcmp(s.data(), last.text, sizeof last.text) != 0) {
    const int day = TwoDigits(s.data()), month = MonthNumber(s.substr(3, 3)), year = Number(s, 7, 4);
    std::memcpy(last.text, s.data(), sizeof last.text);
    last.days.reset();
    if (IsRealDate(year, month, day)) last.days = DaysFromCivil(year, month, day);
  }
  if (!last.days) return false;
  f.days = last.days;
  f.hour = TwoDigits(s.data() + 12);
  f.minute = TwoDigits(s.data() + 15);
  f.second = TwoDigits(s.data() + 18);
  if (s.size() == 20) return true;
  return s[20] == ' ' && ParseOffset(s.substr(21), f.offset);
}

// yyyy-mm-ddTHH:MM:SS[.fraction][zone]
bool ReadIsoForm(std::string_view s, Fields& f) {
  if (s.size() < 19 || s[4] != '-' || s[7] != '-' || (s[10] != 'T' && s[10] != 't') || s[13] != ':' || s[16] != ':')
    return false;
  f.year = Number(s, 0, 4);
  f.month = Number(s, 5, 2);
  f.day = Number(s, 8, 2);
  f.hour = Number(s, 11, 2);
  f.minute = Number(s, 14, 2);
  f.second = Number(s, 17, 2);
  size_t pos = 19;
  if (pos < s.size() && s[pos] == '.') {
    const size_t digitsFrom = ++pos;
    while (pos < s.size() && IsDigit(s[pos])) ++pos;
    if (pos == digitsFrom) return false;
  }
  if (pos == s.size()) return true;
  return ParseOffset(s.substr(pos), f.offset);
}

bool IsRealTime(const Fields& f) {
  return f.hour >= 0 && f.hour <= 23 && f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<size_t>(month - 1)];
}

// Howard Hinnant's days_from_civil / civil_from_days.
int64_t DaysFromCivil(int year, int month, int day) {
  const int64_t y = year - (month <= 2);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool ParseServerTime(std::string_view text, LoggedTime& out) {
  Fields f;
  const bool read = text.size() > 4 && text[4] == '-' ? ReadIsoForm(text, f) : ReadCommonForm(text, f);
  if (!read || !IsRealTime(f)) return false;
  if (!f.days) {
    if (!IsRealDate(f.year, f.month, f.day)) return false;
    f.days = DaysFromCivil(f.year, f.month, f.day);
  }
  const int64_t local = *f.days * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
  out.utcSeconds = local - f.offset;
  out.offsetSeconds = f.offset;
  return true;
}

}  // namespace vorel::analysis
