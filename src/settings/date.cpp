#include "settings/date.h"

#include <cstdio>
#include <ctime>

#include "settings/text_util.h"

namespace vorel::settings {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

std::optional<Date> ParseDate(std::string_view text) {
  text = TrimSpaces(text);
  int parts[3];
  size_t pos = 0;
  for (int k = 0; k < 3; ++k) {
    size_t start = pos;
    long value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 6) {
      value = value * 10 + (text[pos] - '0');
      ++pos;
    }
    if (pos == start) return std::nullopt;
    parts[k] = static_cast<int>(value);
    if (k < 2) {
      if (pos >= text.size() || text[pos] != '/') return std::nullopt;
      ++pos;
    }
  }
  if (pos != text.size() || !IsValidDate(parts[0], parts[1], parts[2])) return std::nullopt;
  return Date{parts[0], parts[1], parts[2]};
}

std::string FormatDate(const Date& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%04d/%d/%d", date.year, date.month, date.day);
  return buffer;
}

Date Today() {
  std::time_t now = std::time(nullptr);
  std::tm local {};
  localtime_r(&now, &local);
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

Date FirstOfMonth(const Date& date) { return Date{date.year, date.month, 1}; }

}  // namespace vorel::settings
