// A record's stamp is kept as the analysis reads it: the stamp written back
// from the stored time names the same date and hour.
#include <gtest/gtest.h>

#include "analysis/companion.h"
#include "history/logged_stamp.h"

namespace vorel::history {
namespace {

TEST(LoggedStampTest, AStampWrittenBackGivesTheAnalysisTheSameDateAndHour) {
  struct Row {
    const char* stamp;
    ZoneKind kind;
  };
  const Row rows[] = {
      {"2001/12/05 09:03:07", ZoneKind::Local},   {"2001-1-5 9:03", ZoneKind::Local},
      {" 2024/02/29 23:59:59", ZoneKind::Local},  {"2001/12/31 24:10:00", ZoneKind::Local24},
      {"1969/07/20 20:17:40", ZoneKind::Local},   {"2001/12/05 09:99:99", ZoneKind::Local},
      {"2001/02/30 10:00:00", ZoneKind::NoTime},  {"2001/12/05", ZoneKind::NoTime},
      {"2001/12-05 10:00", ZoneKind::NoTime},     {"", ZoneKind::NoTime},
  };
  const analysis::DateFilter all;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stamp);
    const StoredTime stored = ReadRecordStamp(row.stamp);
    EXPECT_EQ(stored.kind, row.kind);
    std::string back;
    AppendStamp(stored.kind, stored.time, back);
    analysis::PeriodSlots original, rewritten;
    const bool read = analysis::CheckTimeStamp(std::string("1#(p)") + row.stamp, all, original);
    EXPECT_EQ(analysis::CheckTimeStamp("1#(p)" + back, all, rewritten), read);
    EXPECT_EQ(std::tie(rewritten.month, rewritten.week, rewritten.dweek, rewritten.day, rewritten.hour),
              std::tie(original.month, original.week, original.dweek, original.day, original.hour));
  }
}

}  // namespace
}  // namespace vorel::history
