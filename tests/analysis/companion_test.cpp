#include "analysis/companion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

struct Stamp {
  int32_t result, month = -1, week = -1, dweek = -1, day = -1, hour = -1;
};

Stamp Check(const char* record, const char* start = "2001/1/1", const char* end = "2001/12/31", int32_t on = -1) {
  Stamp s{};
  s.month = s.week = s.dweek = s.day = s.hour = -1;
  s.result = aa_check_date(s.month, s.week, s.dweek, s.day, s.hour, record, start, end, on);
  return s;
}

TEST(CheckDate, ReadsTheLoggingScriptsStamp) {
  Stamp s = Check("1#(index)2001/12/05 09:03:07");
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.month, 12);
  EXPECT_EQ(s.day, 5);
  EXPECT_EQ(s.hour, 9);
  EXPECT_EQ(s.dweek, 4);  // 5 December 2001 was a Wednesday
  EXPECT_EQ(s.week, 49);  // 1 January 2001 was a Monday: (339 + 2 - 2) / 7 + 1
}

TEST(CheckDate, AcceptsTheOtherWrittenForms) {
  EXPECT_EQ(Check("1#(a)  2001-3-4T5:06").hour, 5);
  EXPECT_EQ(Check("1#(a)2001/03/04 (水) 23:59:59").day, 4);
  EXPECT_EQ(Check("1#(a)2001/3/4 24:00").hour, 24);
}

TEST(CheckDate, UnreadableStampsDoNotCount) {
  for (const char* r : {"1#(a)2001/2/30 10:00", "1#(a)2001/13/01 10:00", "1#(a)2001/12/01 25:00",
                        "1#(a)2001/12/01", "1#(a)01/12/01 10:00", "1#(a)2001/12-01 10:00", "1#(a 2001/12/01 10:00",
                        "1#(a)2001/12/01 10:0"}) {
    EXPECT_EQ(Check(r, "2001/1/1", "2001/12/31", 0).result, 0) << r;
  }
}

TEST(CheckDate, BothEndsOfThePeriodAreInclusive) {
  EXPECT_EQ(Check("1#(a)2001/12/01 00:00", "2001/12/1", "2001/12/5").result, 1);
  EXPECT_EQ(Check("1#(a)2001/12/05 23:59", "2001/12/1", "2001/12/5").result, 1);
  EXPECT_EQ(Check("1#(a)2001/11/30 23:59", "2001/12/1", "2001/12/5").result, 0);
  EXPECT_EQ(Check("1#(a)2001/12/06 00:00", "2001/12/1", "2001/12/5").result, 0);
  EXPECT_EQ(Check("1#(a)1999/12/06 00:00", "2001/12/1", "2001/12/5", 0).result, 1);  // filter off
}

TEST(CheckDate, WeeksStartOnSundayAndWeekOneHoldsTheFirstOfJanuary) {
  // 2000: 1 January a Saturday, a leap year ending on a Sunday in week 54.
  EXPECT_EQ(Check("1#(a)2000/01/01 00:00", "", "", 0).week, 1);
  EXPECT_EQ(Check("1#(a)2000/01/02 00:00", "", "", 0).week, 2);
  EXPECT_EQ(Check("1#(a)2000/12/31 00:00", "", "", 0).week, 54);
  EXPECT_EQ(Check("1#(a)2000/12/31 00:00", "", "", 0).dweek, 1);
  // 2006: 1 January a Sunday.
  EXPECT_EQ(Check("1#(a)2006/01/07 00:00", "", "", 0).week, 1);
  EXPECT_EQ(Check("1#(a)2006/01/08 00:00", "", "", 0).week, 2);
}

// A date already read (a server line's time) gets what its stamp would get,
// whatever the date before it was.
TEST(CheckDate, ADateAlreadyReadCountsAsItsStampWouldWhateverCameBefore) {
  const DateFilter filter = DateFilter::From("2000/12/31", "2001/12/31", -1);
  // Runs of one date, the same day of another month or year, and dates outside the period.
  const struct {
    int year, month, day, hour;
  } dates[] = {{2001, 12, 5, 9},  {2001, 12, 5, 10}, {2001, 1, 5, 9}, {2000, 12, 31, 0}, {2001, 12, 31, 23},
               {2000, 12, 30, 23}, {2002, 1, 1, 0},  {2001, 1, 1, 12}, {2001, 12, 5, 9}};
  for (const auto& date : dates) {
    const std::string record = "1#(a)" + std::to_string(date.year) + "/" + std::to_string(date.month) + "/" +
                               std::to_string(date.day) + " " + std::to_string(date.hour) + ":00";
    PeriodSlots fromStamp, fromDate;
    const bool counted = CheckTimeStamp(record, filter, fromStamp);
    ASSERT_EQ(DateSlots(date.year, date.month, date.day, date.hour, filter, fromDate), counted) << record;
    if (!counted) continue;
    EXPECT_EQ(std::tie(fromDate.month, fromDate.week, fromDate.dweek, fromDate.day, fromDate.hour),
              std::tie(fromStamp.month, fromStamp.week, fromStamp.dweek, fromStamp.day, fromStamp.hour))
        << record;
  }
}

TEST(AnalizeLine, CountsLfsAndTabsAndAnUnendedLastLine) {
  testing::TempDir dir;
  EXPECT_EQ(aa_get_analize_line(dir.Write("a", "a\nb\tc\n").c_str(), 10000), 3);
  EXPECT_EQ(aa_get_analize_line(dir.Write("b", "a\nb").c_str(), 10000), 2);
  EXPECT_EQ(aa_get_analize_line(dir.Write("c", "").c_str(), 10000), 0);
  EXPECT_EQ(aa_get_analize_line(dir.File("missing").c_str(), 10000), -1);
}

TEST(Version, IsWrittenIntoTheCallersBuffer) {
  char buffer[11] = "          ";
  aa_get_version(buffer);
  EXPECT_EQ(std::string(buffer), "1.00      ");
}

TEST(AnalizeLine, GetLogLineCountUsesTheCurrentLogFile) {
  testing::TempDir dir;
  settings::ApplyDefaults();
  settings::SetParam("LogFile", dir.Write("x.log", "1\n2\n3\n4\n5\n"));
  EXPECT_EQ(GetLogLineCount(), 5);
  settings::SetParam("LogFile", dir.File("gone.log"));
  EXPECT_EQ(GetLogLineCount(), -1);
}

}  // namespace
}  // namespace vorel::analysis
