// The time zone the analysis shows a server log's times in, chosen by the
// TimeZone setting:
//   ""            this computer's zone (the TZ environment variable when it is
//                 set, else the system's /etc/localtime)
//   "log"         each time as the server logged it, its offset ignored
//   "Asia/Tokyo"  a zone of the system's tz database (/usr/share/zoneinfo)
//   "+09:00"      a fixed offset from UTC ("+0900", "-05:30" and "UTC" too)
//
// A zone is a value of its own, never the C library's process-wide TZ, so the
// desktop program can change it between two analyses. Converting remembers the
// span of instants over which the zone's offset last stayed the same, so a log
// in time order costs a comparison per line and a database lookup only where
// the offset changes. That memory makes one object unfit for two threads at
// once: give each thread its own copy.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/logged_time.h"

namespace vorel::analysis {

// A wall-clock date and time.
struct CivilTime {
  int year = 0, month = 0, day = 0;       // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;   // 0..23, 0..59, 0..59
  bool operator==(const CivilTime&) const = default;
};

// The two words the setting has besides zone names and offsets.
inline constexpr std::string_view kComputerZoneSetting = "";
inline constexpr std::string_view kLoggedTimeSetting = "log";

// The span of instants [begin, end) over which a zone's offset is `offset`.
struct OffsetSpan {
  int64_t begin = 0, end = 0;
  int32_t offset = 0;
};

class TimeZone {
 public:
  // The zone a TimeZone setting names, or nothing for a name the tz database
  // does not know (and then `error`, if given, says so in a sentence fit to
  // show the user). Never throws.
  static std::optional<TimeZone> FromSetting(std::string_view setting, std::string* error = nullptr);

  // UTC, for callers that need a zone before any setting is read.
  TimeZone();

  // The wall-clock time of `time` in this zone.
  CivilTime ToCivil(const LoggedTime& time) const;

  // How reports name the zone: "Asia/Tokyo", "UTC+09:00", "ログの時刻のまま",
  // or, for the computer's zone, its name with a note that it is the computer's.
  const std::string& Description() const { return description_; }

  // True for "log": the times are shown as logged.
  bool KeepsLoggedTime() const { return keepsLoggedTime_; }

 private:
  using SpanLookup = std::function<OffsetSpan(int64_t utcSeconds)>;
  TimeZone(std::string description, SpanLookup lookup);

  int32_t OffsetAt(int64_t utcSeconds) const;

  std::string description_;
  bool keepsLoggedTime_ = false;
  SpanLookup lookup_;  // empty for a fixed offset or "log"
  mutable OffsetSpan span_;
  // The last day converted, so a run of lines on one day skips the calendar arithmetic.
  mutable int64_t lastDay_ = INT64_MIN;
  mutable int lastYear_ = 0, lastMonth_ = 0, lastDayOfMonth_ = 0;
};

// Every zone name of the system's tz database, sorted, for a chooser. Empty
// when the database cannot be read.
std::vector<std::string> KnownZoneNames();

}  // namespace vorel::analysis
