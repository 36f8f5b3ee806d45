#include "analysis/companion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "settings/param_store.h"

namespace vorel::analysis {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a record that need not end in NUL.
struct Cursor {
  const char* p;
  const char* end;
  char Peek() const { return p < end ? *p : '\0'; }
  void Advance() { if (p < end) ++p; }
  void SkipSpaces() { while (p < end && *p == ' ') ++p; }
  void SkipNonDigits() { while (p < end && !IsDigit(*p)) ++p; }
  // minDigits..maxDigits digits; -1 when there are fewer.
  int Number(int minDigits, int maxDigits) {
    int value = 0, n = 0;
    while (n < maxDigits && p < end && IsDigit(*p)) {
      value = value * 10 + (*p - '0');
      ++p;
      ++n;
    }
    return n >= minDigits ? value : -1;
  }
};

// Reads 1..maxDigits digits at p; -1 when there is none.
int ReadNumber(const char*& p, int minDigits, int maxDigits) {
  int value = 0, n = 0;
  while (n < maxDigits && IsDigit(*p)) {
    value = value * 10 + (*p - '0');
    ++p;
    ++n;
  }
  return n >= minDigits ? value : -1;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

// 1 = Sunday … 7 = Saturday
int Weekday(long days) { return static_cast<int>(((days % 7) + 11) % 7) + 1; }

// A date as a comparable number yyyymmdd; -1 when unreadable.
long DateKey(const char* text) {
  if (!text) return -1;
  const char* p = text;
  int y = ReadNumber(p, 1, 4);
  if (y < 0 || *p++ != '/') return -1;
  int m = ReadNumber(p, 1, 2);
  if (m < 1 || m > 12 || *p++ != '/') return -1;
  int d = ReadNumber(p, 1, 2);
  if (d < 1 || d > DaysIn(y, m)) return -1;
  return y * 10000L + m * 100L + d;
}

// The last parsed period bounds: the pass sends the same two texts for every record.
struct Bounds {
  char start[16] = {};
  char end[16] = {};
  long startKey = -1, endKey = -1;
};

const Bounds& BoundsFor(const char* start, const char* end) {
  static thread_local Bounds cached;
  if (std::strncmp(cached.start, start, sizeof(cached.start)) != 0 ||
      std::strncmp(cached.end, end, sizeof(cached.end)) != 0) {
    std::strncpy(cached.start, start, sizeof(cached.start) - 1);
    std::strncpy(cached.end, end, sizeof(cached.end) - 1);
    cached.startKey = DateKey(start);
    cached.endKey = DateKey(end);
  }
  return cached;
}

}  // namespace

int32_t aa_get_version(char* buffer) {
  size_t n = std::strlen(kCompanionVersion);
  std::memcpy(buffer, kCompanionVersion, n < 10 ? n : 10);
  return 1;
}

namespace {

// LF and TAB bytes in a block, sixteen bytes per step: each lane counts its
// hits in a byte (a hit is -1), and the bytes are summed before they overflow.
long long CountSeparators(const char* p, size_t n) {
  long long count = 0;
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i tab = _mm_set1_epi8('\t');
  while (i + 32 <= n) {
    __m128i lanes = _mm_setzero_si128(), lanes2 = _mm_setzero_si128();
    for (int k = 0; k < 255 && i + 32 <= n; ++k, i += 32) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16));
      lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, tab)));
      lanes2 = _mm_sub_epi8(lanes2, _mm_or_si128(_mm_cmpeq_epi8(w, lf), _mm_cmpeq_epi8(w, tab)));
    }
    const __m128i sums = _mm_add_epi64(_mm_sad_epu8(lanes, _mm_setzero_si128()), _mm_sad_epu8(lanes2, _mm_setzero_si128()));
    count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
  }
#endif
  for (; i < n; ++i) count += (p[i] == '\n') | (p[i] == '\t');
  return count;
}

}  // namespace

int32_t aa_get_analize_line(const char* path, int32_t /*limit*/) {
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  // Read in pieces that stay in the cache: faster here than mapping the file.
  std::vector<char> buffer(1 << 18);
  long long count = 0;
  char last = '\n';
  bool any = false;
  while (true) {
    ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return -1;
    }
    if (n == 0) break;
    any = true;
    count += CountSeparators(buffer.data(), static_cast<size_t>(n));
    last = buffer[static_cast<size_t>(n) - 1];
  }
  ::close(fd);
  if (any && last != '\n') ++count;
  return count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(count);
}

DateFilter DateFilter::From(const char* startDate, const char* endDate, int32_t specifyDate) {
  DateFilter f;
  f.on = specifyDate != 0;
  if (f.on) {
    const Bounds& b = BoundsFor(startDate ? startDate : "", endDate ? endDate : "");
    f.startKey = b.startKey;
    f.endKey = b.endKey;
  }
  return f;
}

namespace {

// Whether the date filter lets the date in.
bool InPeriod(const DateFilter& filter, int y, int m, int d) {
  if (!filter.on) return true;
  const long key = y * 10000L + m * 100L + d;
  return filter.startKey >= 0 && filter.endKey >= 0 && key >= filter.startKey && key <= filter.endKey;
}

// The week (Sunday first, week 1 holding 1 January) and weekday of a date.
void WeekOf(int y, int m, int d, int32_t& week, int32_t& dweek) {
  const long days = DaysFromCivil(y, m, d);
  const long jan1 = DaysFromCivil(y, 1, 1);
  week = (static_cast<int>(days - jan1) + Weekday(jan1) - 1) / 7 + 1;
  dweek = Weekday(days);
}

}  // namespace

bool DateSlots(int year, int month, int day, int hour, const DateFilter& filter, PeriodSlots& slots) {
  if (!InPeriod(filter, year, month, day)) return false;
  // A log's dates come in runs, so the last date's week and weekday are kept.
  struct Day {
    int y = 0, m = 0, d = 0;
    int32_t week = 0, dweek = 0;
  };
  thread_local Day last;  // each pass on its own thread keeps its own
  if (last.y != year || last.m != month || last.d != day) {
    last.y = year;
    last.m = month;
    last.d = day;
    WeekOf(year, month, day, last.week, last.dweek);
  }
  slots = PeriodSlots{month, last.week, last.dweek, day, hour};
  return true;
}

bool CheckTimeStamp(std::string_view record, const DateFilter& filter, PeriodSlots& slots) {
  size_t paren = record.find(')');
  if (paren == std::string_view::npos) return false;
  Cursor c{record.data() + paren + 1, record.data() + record.size()};
  // A log runs in time order, so most stamps begin with the date text of the
  // stamp before them; that date's reading is kept with its text.
  struct Day {
    char text[24];
    size_t length = 0;  // 0: nothing kept
    int y, m, d, week, dweek;
  };
  thread_local Day last;  // each pass on its own thread keeps its own
  int y, m, d;
  const size_t left = static_cast<size_t>(c.end - c.p);
  if (last.length > 0 && left > last.length && std::memcmp(c.p, last.text, last.length) == 0 &&
      !IsDigit(c.p[last.length])) {
    c.p += last.length;
    y = last.y;
    m = last.m;
    d = last.d;
  } else {
    const char* begin = c.p;
    c.SkipSpaces();
    y = c.Number(4, 4);
    if (y < 0) return false;
    char sep = c.Peek();
    if (sep != '/' && sep != '-') return false;
    c.Advance();
    m = c.Number(1, 2);
    if (m < 1 || m > 12 || c.Peek() != sep) return false;
    c.Advance();
    d = c.Number(1, 2);
    if (d < 1 || d > DaysIn(y, m)) return false;
    const auto length = static_cast<size_t>(c.p - begin);
    if (length < sizeof(last.text)) {
      std::memcpy(last.text, begin, length);
      last.length = length;
      last.y = y;
      last.m = m;
      last.d = d;
      WeekOf(y, m, d, last.week, last.dweek);
    } else {
      last.length = 0;
    }
  }
  c.SkipNonDigits();
  int h = c.Number(1, 2);
  if (h < 0 || h > 24 || c.Peek() != ':') return false;
  c.Advance();
  if (c.Number(2, 2) < 0) return false;

  if (!InPeriod(filter, y, m, d)) return false;
  // A kept date is this one, its week and weekday read with it.
  int32_t week = last.week, dweek = last.dweek;
  if (last.length == 0) WeekOf(y, m, d, week, dweek);
  slots = PeriodSlots{m, week, dweek, d, h};
  return true;
}

int32_t aa_check_date(int32_t& month, int32_t& week, int32_t& dweek, int32_t& day, int32_t& hour,
                      const char* record, const char* startDate, const char* endDate, int32_t specifyDate) {
  if (!record) return 0;
  PeriodSlots slots;
  if (!CheckTimeStamp(record, DateFilter::From(startDate, endDate, specifyDate), slots)) return 0;
  month = slots.month;
  week = slots.week;
  dweek = slots.dweek;
  day = slots.day;
  hour = slots.hour;
  return 1;
}

int32_t GetLogLineCount() {
  try {
    return aa_get_analize_line(settings::ParamText("LogFile", 1).c_str(), 10000);
  } catch (...) {
    return -1;
  }
}

}  // namespace vorel::analysis
