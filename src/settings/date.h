// Calendar dates without a time of day, as the settings and reports use them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorel::settings {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const Date&) const = default;
  auto operator<=>(const Date&) const = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// Reads "year/month/day" (leading zeros and surrounding spaces allowed);
// nothing when the text is no real date of the years 100..9999.
std::optional<Date> ParseDate(std::string_view text);
// "yyyy/m/d": four-digit year, month and day without leading zeros.
std::string FormatDate(const Date& date);

Date Today();
Date FirstOfMonth(const Date& date);

}  // namespace vorel::settings
