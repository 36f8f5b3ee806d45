#include "analysis/time_zone.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vorel::analysis {
namespace {

constexpr std::string_view kZoneInfoFolder = "/usr/share/zoneinfo/";
constexpr const char* kComputerZoneNote = "（このコンピューターの時刻）";
constexpr const char* kLoggedTimeDescription = "ログの時刻のまま";

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

template <class Info>
OffsetSpan SpanOf(const Info& info) {
  // The database's first and last spans reach to the ends of its time range;
  // past them the offset stays as it was.
  return {info.begin.time_since_epoch().count(), info.end.time_since_epoch().count(),
          static_cast<int32_t>(info.offset.count())};
}

using SysSeconds = date::sys_seconds;

SysSeconds AsSysSeconds(int64_t utcSeconds) { return SysSeconds{std::chrono::seconds{utcSeconds}}; }

// "+09:00", "+0900", "+9", "-05:30": the offset in seconds; nothing otherwise.
std::optional<int32_t> ParseFixedOffset(std::string_view s) {
  if (s.size() < 2 || (s[0] != '+' && s[0] != '-')) return std::nullopt;
  const int sign = s[0] == '-' ? -1 : 1;
  std::string_view rest = s.substr(1);
  auto digits = [](std::string_view d) {
    return !d.empty() && std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  std::string_view hours = rest, minutes;
  if (size_t colon = rest.find(':'); colon != std::string_view::npos) {
    hours = rest.substr(0, colon);
    minutes = rest.substr(colon + 1);
    if (minutes.size() != 2) return std::nullopt;
  } else if (rest.size() == 4) {
    hours = rest.substr(0, 2);
    minutes = rest.substr(2);
  }
  if (hours.size() > 2 || !digits(hours) || (!minutes.empty() && !digits(minutes))) return std::nullopt;
  const int h = std::stoi(std::string(hours));
  const int m = minutes.empty() ? 0 : std::stoi(std::string(minutes));
  if (h > 23 || m > 59) return std::nullopt;
  return sign * (h * 3600 + m * 60);
}

std::string OffsetText(int32_t offset) {
  const char sign = offset < 0 ? '-' : '+';
  const int32_t magnitude = offset < 0 ? -offset : offset;
  char text[16];
  std::snprintf(text, sizeof(text), "%c%02d:%02d", sign, magnitude / 3600, magnitude / 60 % 60);
  return text;
}

// The database's zone of that name; a name that differs only in letter case
// from exactly one known zone is taken for it.
const date::time_zone* FindDatabaseZone(std::string_view name) {
  if (name.empty()) return nullptr;
  try {
    return date::locate_zone(name);
  } catch (const std::exception&) {
  }
  std::string match;
  for (const std::string& known : KnownZoneNames()) {
    if (!EqualsIgnoringCase(known, name)) continue;
    if (!match.empty()) return nullptr;  // ambiguous
    match = known;
  }
  if (match.empty()) return nullptr;
  try {
    return date::locate_zone(match);
  } catch (const std::exception&) {
    return nullptr;
  }
}

struct ComputerZone {
  std::string name;
  std::function<OffsetSpan(int64_t)> lookup;  // empty: UTC
};

ComputerZone DatabaseZone(const date::time_zone* zone) {
  return {std::string(zone->name()), [zone](int64_t t) { return SpanOf(zone->get_info(AsSysSeconds(t))); }};
}

ComputerZone SystemZone() {
  try {
    return DatabaseZone(date::current_zone());
  } catch (const std::exception&) {
    return {"UTC", {}};
  }
}

// A POSIX rule without summer time, such as "JST-9" or "UTC0": letters, then
// the offset west of UTC. Nothing for anything else.
std::optional<int32_t> PosixFixedOffset(std::string_view rule) {
  size_t letters = 0;
  while (letters < rule.size() && ((rule[letters] >= 'A' && rule[letters] <= 'Z') || (rule[letters] >= 'a' && rule[letters] <= 'z')))
    ++letters;
  if (letters < 3 || letters == rule.size()) return std::nullopt;
  std::string west(rule.substr(letters));
  if (west[0] != '+' && west[0] != '-') west.insert(0, "+");
  std::optional<int32_t> offset = ParseFixedOffset(west);
  if (!offset) return std::nullopt;
  return -*offset;
}

// TZ as the C library reads it: a zone name (perhaps after ":"), a path to a
// zone file, or a POSIX rule without summer time such as "JST-9"; set but
// unusable means UTC, as for every other program on the machine.
ComputerZone ZoneFromTz(std::string_view tz) {
  if (!tz.empty() && tz.front() == ':') tz.remove_prefix(1);
  if (tz.empty()) return {"UTC", {}};
  if (tz == "/etc/localtime") return SystemZone();
  if (tz.substr(0, kZoneInfoFolder.size()) == kZoneInfoFolder) tz.remove_prefix(kZoneInfoFolder.size());
  try {
    return DatabaseZone(date::locate_zone(tz));
  } catch (const std::exception&) {
  }
  if (std::optional<int32_t> offset = PosixFixedOffset(tz)) {
    const int32_t fixed = *offset;
    return {"UTC" + OffsetText(fixed), [fixed](int64_t) {
              return OffsetSpan{std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), fixed};
            }};
  }
  return {"UTC", {}};
}

ComputerZone ComputersZone() {
  if (const char* tz = std::getenv("TZ")) return ZoneFromTz(tz);
  return SystemZone();
}

}  // namespace

TimeZone::TimeZone() : description_("UTC") { span_ = {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), 0}; }

TimeZone::TimeZone(std::string description, SpanLookup lookup) : description_(std::move(description)), lookup_(std::move(lookup)) {
  span_ = {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), 0};
  if (lookup_) span_ = {0, 0, 0};  // empty: the first conversion looks up
}

std::optional<TimeZone> TimeZone::FromSetting(std::string_view setting, std::string* error) {
  const std::string_view text = Trimmed(setting);
  if (text == kComputerZoneSetting) {
    ComputerZone zone = ComputersZone();
    return TimeZone(zone.name + kComputerZoneNote, std::move(zone.lookup));
  }
  if (EqualsIgnoringCase(text, kLoggedTimeSetting)) {
    TimeZone zone(kLoggedTimeDescription, {});
    zone.keepsLoggedTime_ = true;
    return zone;
  }
  if (std::optional<int32_t> offset = ParseFixedOffset(text)) {
    TimeZone zone("UTC" + OffsetText(*offset), {});
    zone.span_.offset = *offset;
    return zone;
  }
  if (const date::time_zone* found = FindDatabaseZone(text)) {
    ComputerZone zone = DatabaseZone(found);
    return TimeZone(zone.name, std::move(zone.lookup));
  }
  if (error)
    *error = "時間帯「" + std::string(text) +
             "」が見つかりません。\r\n「Asia/Tokyo」のような地域名か、「+09:00」のような UTC からの時差を指定してください。";
  return std::nullopt;
}

int32_t TimeZone::OffsetAt(int64_t utcSeconds) const {
  if (utcSeconds >= span_.begin && utcSeconds < span_.end) return span_.offset;
  try {
    span_ = lookup_(utcSeconds);
  } catch (const std::exception&) {
    span_ = {utcSeconds, utcSeconds + 1, 0};  // outside what the database can say: UTC for this instant
  }
  if (!(utcSeconds >= span_.begin && utcSeconds < span_.end)) span_ = {utcSeconds, utcSeconds + 1, span_.offset};
  return span_.offset;
}

CivilTime TimeZone::ToCivil(const LoggedTime& time) const {
  const int32_t offset = keepsLoggedTime_ ? time.offsetSeconds : OffsetAt(time.utcSeconds);
  const int64_t local = time.utcSeconds + offset;
  const int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  const auto secondOfDay = static_cast<int>(local - day * 86400);
  if (day != lastDay_) {
    CivilFromDays(day, lastYear_, lastMonth_, lastDayOfMonth_);
    lastDay_ = day;
  }
  return {lastYear_, lastMonth_, lastDayOfMonth_, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

std::vector<std::string> KnownZoneNames() {
  std::vector<std::string> names;
  try {
    const date::tzdb& db = date::get_tzdb();
    for (const date::time_zone& zone : db.zones) names.emplace_back(zone.name());
  } catch (const std::exception&) {
    return {};
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace vorel::analysis
