// The header line that says which zone a server log's times are in: the
// line after the conditions in each format, and no such line for record logs.
#include <gtest/gtest.h>

#include "export/report_common.h"
#include "export/save_results.h"
#include "report_test_support.h"

namespace vorel::reports {
namespace {

struct LineCase {
  const char* name;
  ReportFormat format;
  const char* conditionsLine;  // the line the zone's line follows
  const char* zoneLine;        // for the zone "UTC+09:00"
};

const LineCase kCases[] = {
    {"Text", ReportFormat::Text, "解析条件: 指定なし\r\n", "時間帯: UTC+09:00\r\n"},
    // "+" would start a formula in a spreadsheet; the zone is described so that it does not.
    {"Csv", ReportFormat::Csv, "\"解析条件\",\"指定なし\"\r\n", "\"時間帯\",\"UTC+09:00\"\r\n"},
    {"Html", ReportFormat::Html, "\t解析条件： 指定なし<br>\r\n", "\t時間帯： UTC+09:00<br>\r\n"},
};

class TimeZoneLineTest : public ReportTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(TimeZoneLineTest, AServerLogsReportNamesItsZoneAfterTheConditions) {
  const LineCase& row = GetParam();
  analysis::Result().Total = 1;
  const std::string recordsOnly = ReportText(row.format);
  EXPECT_NE(recordsOnly.find(row.conditionsLine), std::string::npos) << recordsOnly;
  EXPECT_EQ(recordsOnly.find(kTimeZoneLabel), std::string::npos) << recordsOnly;

  analysis::Result().ServerTimeZone = "UTC+09:00";
  const std::string withZone = ReportText(row.format);
  EXPECT_NE(withZone.find(std::string(row.conditionsLine) + row.zoneLine), std::string::npos) << withZone;
  // Nothing else changes.
  std::string without = withZone;
  without.erase(without.find(row.zoneLine), std::string(row.zoneLine).size());
  EXPECT_EQ(without, recordsOnly);
}

INSTANTIATE_TEST_SUITE_P(Formats, TimeZoneLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorel::reports
