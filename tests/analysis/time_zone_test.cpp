// Server-log times in the chosen zone, through the whole pass: a server log
// whose lines carry the stamps of a row must count exactly as the record log
// of the wall-clock times the row expects (record logs carry no zone), with
// the date filter, every period slot and the week numbers following the zone.
#include "analysis/time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {



struct ZoneCase {
  const char* name;
  const char* zone;                     // the TimeZone setting
  std::vector<std::string> stamps;      // what the server wrote between the brackets
  std::vector<std::string> expected;    // the wall-clock times that count, as record stamps
  int32_t total;                        // the accesses counted (so no row can pass by counting nothing)
  int64_t unreadable = 0;               // lines whose stamp is no real date and time
  const char* dateFilter = nullptr;     // "yyyy/m/d-yyyy/m/d", or none
  std::optional<const char*> tz = std::nullopt;      // the TZ environment variable for the row
  std::vector<std::pair<int, int32_t>> weeks = {};  // week graph slots to check besides
};

const std::vector<ZoneCase> kCases = {
    // Daylight saving: Berlin goes to +0200 at 01:00 UTC on 29 March 2026 and back on 25 October.
    {"BerlinSpringForward", "Europe/Berlin", {"29/Mar/2026:00:59:59 +0000", "29/Mar/2026:01:00:00 +0000"},
     {"2026/03/29 01:59:59", "2026/03/29 03:00:00"}, 2},
    {"BerlinFallBackShowsTheHourTwice", "Europe/Berlin",
     {"25/Oct/2026:00:30:00 +0000", "25/Oct/2026:01:30:00 +0000", "25/Oct/2026:03:30:00 +0100"},
     {"2026/10/25 02:30:00", "2026/10/25 02:30:00", "2026/10/25 03:30:00"}, 3},
    {"BerlinsTwoHalfPastTwosAreAnHourApartInTokyo", "Asia/Tokyo",
     {"25/Oct/2026:02:30:00 +0200", "25/Oct/2026:02:30:00 +0100"}, {"2026/10/25 09:30:00", "2026/10/25 10:30:00"}, 2},
    // New York: EDT from 07:00 UTC on 8 March 2026, EST again from 06:00 UTC on 1 November.
    {"NewYorkSpringForward", "America/New_York", {"08/Mar/2026:06:59:59 +0000", "08/Mar/2026:07:00:00 +0000"},
     {"2026/03/08 01:59:59", "2026/03/08 03:00:00"}, 2},
    {"NewYorkFallBack", "America/New_York",
     {"01/Nov/2026:01:30:00 -0400", "01/Nov/2026:01:30:00 -0500", "01/Nov/2026:07:00:00 +0000"},
     {"2026/11/01 01:30:00", "2026/11/01 01:30:00", "2026/11/01 02:00:00"}, 3},
    // A log written in the owner's own zone reads as it was written.
    {"TokyoLogInTokyoUnchanged", "Asia/Tokyo", {"10/Oct/2026:13:55:36 +0900", "01/Jan/2027:00:00:00 +0900"},
     {"2026/10/10 13:55:36", "2027/01/01 00:00:00"}, 2},
    // A UTC server: nine hours later in Tokyo, and the month's edges move with it.
    {"UtcLogInTokyoShiftsNineHours", "Asia/Tokyo",
     {"31/Oct/2026:14:59:59 +0000", "31/Oct/2026:15:00:00 +0000", "30/Nov/2026:14:59:59 +0000",
      "30/Nov/2026:15:00:00 +0000"},
     {"2026/10/31 23:59:59", "2026/11/01 00:00:00", "2026/11/30 23:59:59", "2026/12/01 00:00:00"}, 2, 0,
     "2026/11/1-2026/11/30"},
    {"UtcLogInTokyoCrossesTheYearInTheWeekGraph", "Asia/Tokyo",
     {"31/Dec/2026:14:59:59 +0000", "31/Dec/2026:15:00:00 +0000"}, {"2026/12/31 23:59:59", "2027/01/01 00:00:00"},
     2, 0, nullptr, std::nullopt, {{53, 1}, {1, 1}}},
    {"IsoStampsOfNginx", "Asia/Tokyo", {"2026-10-10T04:55:36Z", "2026-10-10T13:55:36.250+09:00"},
     {"2026/10/10 13:55:36", "2026/10/10 13:55:36"}, 2},
    {"FixedOffset", "+05:30", {"10/Oct/2026:00:00:00 +0000", "09/Oct/2026:20:00:00 -0800"},
     {"2026/10/10 05:30:00", "2026/10/10 09:30:00"}, 2},
    {"FixedOffsetWest", "-0800", {"10/Oct/2026:05:00:00 +0000"}, {"2026/10/09 21:00:00"}, 1},
    {"AsLogged", "log", {"10/Oct/2026:13:55:36 -0500", "10/Oct/2026:13:55:36 +0900", "2026-10-10T23:00:00Z"},
     {"2026/10/10 13:55:36", "2026/10/10 13:55:36", "2026/10/10 23:00:00"}, 3},
    {"ZoneNamesIgnoreLetterCase", "asia/tokyo", {"10/Oct/2026:00:00:00 +0000"}, {"2026/10/10 09:00:00"}, 1},
    // "" is this computer's zone, which TZ sets as it does for the C library.
    {"ComputersZoneFollowsTz", "", {"29/Mar/2026:01:00:00 +0000"}, {"2026/03/29 03:00:00"}, 1, 0, nullptr,
     "Europe/Berlin"},
    {"ComputersZoneFromAPosixRule", "", {"10/Oct/2026:00:00:00 +0000"}, {"2026/10/10 09:00:00"}, 1, 0, nullptr,
     "JST-9"},
    {"ComputersZoneUnknownToTzIsUtcAsForTheCLibrary", "", {"10/Oct/2026:13:00:00 +0900"}, {"2026/10/10 04:00:00"},
     1, 0, nullptr, "Nowhere/Atlantis"},
    // A stamp that is not a real date and time makes its line unreadable, and nothing counts it.
    {"ImpossibleStampsAreUnreadable", "log",
     {"00/Oct/2026:10:00:00 +0900", "31/Feb/2026:10:00:00 +0900", "29/Feb/2025:10:00:00 +0900",
      "10/Oct/2026:24:00:00 +0900", "10/Oct/2026:25:00:00 +0900", "10/Oct/2026:10:60:00 +0900",
      "10/Oct/2026:10:99:00 +0900", "10/Oct/2026:10:00:60 +0900", "10/Okt/2026:10:00:00 +0900",
      "10/Oct/2026:10:00:00 +2400", "10/Oct/2026:10:00:00 +0900 tomorrow", "2026-02-29T10:00:00Z",
      "10/Oct/0000:10:00:00 +0900", "29/Feb/2024:23:59:59 +0900"},
     {"2024/02/29 23:59:59"}, 1, 13},
};

class TimeZoneTest : public ::testing::TestWithParam<ZoneCase> {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) savedTz = tz;
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    settings::SetParam("SpecifyPage", false);
    LoadClassListsFrom(dir.Write("vorel.dat", ""));
  }
  void TearDown() override {
    if (savedTz) setenv("TZ", savedTz->c_str(), 1);
    else unsetenv("TZ");
  }

  // The pass over one log, with the row's zone and date filter; the result as compared.
  struct Counted {
    AnalysisResult result;
    ServerLogCounts lines;
  };
  Counted Analyse(const std::string& name, const std::string& log, const ZoneCase& row) {
    settings::SetParam("LogFile", dir.Write(name, log));
    settings::SetParam("SpecifyDate", row.dateFilter != nullptr);
    if (row.dateFilter) {
      const std::string filter = row.dateFilter;
      settings::SetParam("StartDate", filter.substr(0, filter.find('-')));
      settings::SetParam("EndDate", filter.substr(filter.find('-') + 1));
    }
    settings::SetParam("TimeZone", row.zone);
    EXPECT_TRUE(AnalyzeLog(0));
    return {Result(), LastServerLogCounts()};
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
  std::optional<std::string> savedTz;
};

std::vector<std::pair<std::string, int32_t>> Entries(const CategoryTable& t) {
  std::vector<std::pair<std::string, int32_t>> entries;
  for (int32_t i = 1; i <= t.Count; ++i) entries.emplace_back(t.Names[static_cast<size_t>(i)], t.Counts[static_cast<size_t>(i)]);
  return entries;
}

TEST_P(TimeZoneTest, ServerLogTimesCountAsTheWallClockTimesOfTheZone) {
  const ZoneCase& row = GetParam();
  if (row.tz) setenv("TZ", *row.tz, 1);
  std::string server, records;
  for (const std::string& stamp : row.stamps)
    server += "192.0.2.7 - - [" + stamp + "] \"GET /diary.html HTTP/1.1\" 200 10 \"-\" \"UA\"\n" +
              // an image the page pulled in: no page view, but its stamp must be real too
              "192.0.2.7 - - [" + stamp + "] \"GET /logo.png HTTP/1.1\" 200 10 \"-\" \"UA\"\n";
  for (const std::string& stamp : row.expected)
    records += "1#(/diary.html)" + stamp + "\r\n2#UA\r\n3#\r\n4#(192.0.2.7)\r\n";

  const Counted fromServer = Analyse("access.log", server, row);
  const Counted fromRecords = Analyse("records.log", records, row);
  const AnalysisResult& s = fromServer.result;
  const AnalysisResult& r = fromRecords.result;
  EXPECT_EQ(s.Total, row.total);
  EXPECT_EQ(s.Total, r.Total);
  EXPECT_EQ(s.Month, r.Month);
  EXPECT_EQ(s.WWeek, r.WWeek);
  EXPECT_EQ(s.DWeek, r.DWeek);
  EXPECT_EQ(s.Date, r.Date);
  EXPECT_EQ(s.Time, r.Time);
  EXPECT_EQ(Entries(s.Page), Entries(r.Page));
  EXPECT_EQ(Entries(s.Host), Entries(r.Host));
  for (const auto& [week, count] : row.weeks) EXPECT_EQ(s.WWeek[static_cast<size_t>(week)], count) << "week " << week;
  EXPECT_EQ(fromServer.lines.unreadable, 2 * row.unreadable);
  EXPECT_EQ(fromServer.lines.pageViews, static_cast<int64_t>(row.stamps.size()) - row.unreadable);
  EXPECT_FALSE(s.ServerTimeZone.empty());
  EXPECT_TRUE(r.ServerTimeZone.empty());
  EXPECT_TRUE(prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, TimeZoneTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A zone the tz database lacks stops the analysis before it starts, with a message naming it.
TEST(TimeZoneSettingTest, AnUnknownZoneIsRefusedWithAMessageThatNamesIt) {
  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
  platform::SetProgramFolder(dir.path());
  settings::ClearParams();
  settings::ApplyDefaults();
  settings::SetParam("SpecifyPage", false);
  settings::SetParam("LogFile", dir.Write("access.log", "192.0.2.7 - - [10/Oct/2026:13:55:36 +0900] \"GET / HTTP/1.1\" 200 1\n"));
  for (const char* unknown : {"Asia/Tokio", "Mars/Olympus_Mons", "+25:00", "9"}) {
    std::string error;
    EXPECT_FALSE(TimeZone::FromSetting(unknown, &error)) << unknown;
    EXPECT_NE(error.find(unknown), std::string::npos) << error;
    settings::SetParam("TimeZone", unknown);
    prompter.messages.clear();
    EXPECT_EQ(PrepareAnalysis().problem, LogProblem::UnknownTimeZone) << unknown;
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, error);
  }
}

// The remembered offset span must not leak into an instant outside it, in either direction.
TEST(TimeZoneSettingTest, OneZoneConvertsInstantsInAnyOrder) {
  const TimeZone berlin = *TimeZone::FromSetting("Europe/Berlin");
  LoggedTime summer, winter;
  ASSERT_TRUE(ParseServerTime("01/Jul/2026:12:00:00 +0000", summer));
  ASSERT_TRUE(ParseServerTime("01/Jan/2026:12:00:00 +0000", winter));
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(berlin.ToCivil(summer), (CivilTime{2026, 7, 1, 14, 0, 0}));
    EXPECT_EQ(berlin.ToCivil(winter), (CivilTime{2026, 1, 1, 13, 0, 0}));
  }
}

TEST(TimeZoneSettingTest, TheZoneNamesOfTheDatabaseAreOffered) {
  const std::vector<std::string> names = KnownZoneNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  for (const char* name : {"Asia/Tokyo", "Europe/Berlin", "America/New_York"})
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), name)) << name;
}

}  // namespace
}  // namespace vorel::analysis
