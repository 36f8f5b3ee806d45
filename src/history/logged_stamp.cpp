#include "history/logged_stamp.h"

#include <chrono>

namespace vorel::history {
namespace {

using namespace std::chrono;

constexpr int64_t kDay = 86400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// minDigits..maxDigits digits at `pos`; -1 when fewer.
int Number(std::string_view s, size_t& pos, int minDigits, int maxDigits) {
  int value = 0, n = 0;
  while (n < maxDigits && pos < s.size() && IsDigit(s[pos])) value = value * 10 + (s[pos++] - '0'), ++n;
  return n >= minDigits ? value : -1;
}

void AppendTwo(int value, std::string& out) {
  out.push_back(static_cast<char>('0' + value / 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

StoredTime ReadRecordStamp(std::string_view s) {
  size_t p = 0;
  while (p < s.size() && s[p] == ' ') ++p;
  const int y = Number(s, p, 4, 4);
  if (y < 0 || p >= s.size() || (s[p] != '/' && s[p] != '-')) return {};
  const char sep = s[p++];
  const int m = Number(s, p, 1, 2);
  if (m < 1 || m > 12 || p >= s.size() || s[p] != sep) return {};
  ++p;
  const int d = Number(s, p, 1, 2);
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d < 0 ? 0 : d)}};
  if (d < 1 || !date.ok()) return {};
  while (p < s.size() && !IsDigit(s[p])) ++p;
  const int h = Number(s, p, 1, 2);
  if (h < 0 || h > 24 || p >= s.size() || s[p] != ':') return {};
  ++p;
  int minute = Number(s, p, 2, 2);
  if (minute < 0) return {};
  int second = 0;
  if (p < s.size() && s[p] == ':') {
    ++p;
    second = Number(s, p, 2, 2);
  }
  // The analysis reads only the date and the hour; a minute or second out of
  // range is kept as the nearest one that exists.
  if (minute > 59) minute = 59;
  if (second < 0 || second > 59) second = second < 0 ? 0 : 59;
  const int64_t days = sys_days(date).time_since_epoch().count();
  return {h == 24 ? ZoneKind::Local24 : ZoneKind::Local, days * kDay + h * 3600 + minute * 60 + second};
}

void AppendStamp(ZoneKind kind, int64_t time, std::string& out) {
  if (kind == ZoneKind::NoTime || kind == ZoneKind::Server) return;
  // Years 0000 to 9999, the ones a stamp can name; a time beyond them comes
  // from a damaged row and gives no stamp.
  constexpr int64_t kFirst = -62167219200, kLast = 253402300799 + kDay;
  if (time < kFirst || time > kLast) return;
  int64_t days = time >= 0 ? time / kDay : (time - kDay + 1) / kDay;
  int64_t secondOfDay = time - days * kDay;
  if (kind == ZoneKind::Local24) {
    --days;
    secondOfDay += kDay;
  }
  const year_month_day date{sys_days{std::chrono::days{days}}};
  const int y = static_cast<int>(date.year());
  out.push_back(static_cast<char>('0' + y / 1000 % 10));
  out.push_back(static_cast<char>('0' + y / 100 % 10));
  AppendTwo(y % 100, out);
  out.push_back('/');
  AppendTwo(static_cast<int>(static_cast<unsigned>(date.month())), out);
  out.push_back('/');
  AppendTwo(static_cast<int>(static_cast<unsigned>(date.day())), out);
  out.push_back(' ');
  AppendTwo(static_cast<int>(secondOfDay / 3600), out);
  out.push_back(':');
  AppendTwo(static_cast<int>(secondOfDay / 60 % 60), out);
  out.push_back(':');
  AppendTwo(static_cast<int>(secondOfDay % 60), out);
}

}  // namespace vorel::history
