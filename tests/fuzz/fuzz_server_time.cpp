// A server log's time stamp: whatever the bytes, reading either succeeds with
// a real date and time or fails; a stamp read once writes back to itself, and
// a zone's wall-clock time is always a real one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/logged_time.h"
#include "analysis/time_zone.h"

using namespace vorel::analysis;

namespace {

bool IsReal(const CivilTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 &&
         t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  LoggedTime logged;
  if (!ParseServerTime(text, logged)) return 0;
  static const TimeZone kAsLogged = *TimeZone::FromSetting(kLoggedTimeSetting);
  static const TimeZone kBerlin = *TimeZone::FromSetting("Europe/Berlin");
  const CivilTime asLogged = kAsLogged.ToCivil(logged);
  if (!IsReal(asLogged) || !IsReal(kBerlin.ToCivil(logged))) std::abort();
  // The stamp as logged, written again in the ISO form, reads as the same instant.
  const int32_t offset = logged.offsetSeconds < 0 ? -logged.offsetSeconds : logged.offsetSeconds;
  char iso[64];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", asLogged.year, asLogged.month,
                asLogged.day, asLogged.hour, asLogged.minute, asLogged.second, logged.offsetSeconds < 0 ? '-' : '+',
                offset / 3600, offset / 60 % 60);
  LoggedTime again;
  if (!ParseServerTime(iso, again) || again.utcSeconds != logged.utcSeconds ||
      again.offsetSeconds != logged.offsetSeconds)
    std::abort();
  return 0;
}
