// The robots' part of the three reports: the robot total after the access
// total, the robot section at the end, and nothing of either when no robot
// was set apart.
#include <functional>

#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/report_test_support.h"
#include "export/text_report.h"

namespace vorel::reports {
namespace {

using RobotSectionTest = ReportTest;

struct Format {
  const char* expectedFile;
  std::function<std::string()> report;  // UTF-8 with CR LF
  std::string totalLine;                // the access total's line
  std::string robotTotalLine;
  std::string robotSection;             // the lines the report ends with
};

std::vector<Format> Formats() {
  return {
      {"full_report.txt", [] { return TextReport(); }, "アクセス合計: 20\r\n", "ロボット: 7\r\n",
       "\r\nロボット別\r\n   5: Googlebot\r\n   2: Tiny Tiny RSS\r\n"},
      {"full_report.csv", [] { return CsvReport(); }, "\"アクセス合計\",20\r\n", "\"ロボット\",7\r\n",
       "\r\n\"ロボット別\"\r\n\"Googlebot\",5\r\n\"Tiny Tiny RSS\",2\r\n"},
      {"full_report.html", [] { return HtmlReport("2001-12-5 9:3:7"); }, "\tアクセス合計： 20<br>\r\n",
       "\tロボット： 7<br>\r\n",
       "<div>\r\n\t<br>\r\n\t<hr>\r\n\t<a name=\"robot\"><strong>★ロボット別</strong></a><br>\r\n"
       "\tGooglebot(5)<br><img src=\"bar.gif\" width=\"500\" height=\"12\" alt=\"Bar\"><br>\r\n"
       "\tTiny Tiny RSS(2)<br><img src=\"bar.gif\" width=\"200\" height=\"12\" alt=\"Bar\"><br>\r\n"
       "</div>\r\n"},
  };
}

TEST_F(RobotSectionTest, RobotsSetApartAddTheirTotalAndTheirSectionToTheReportOtherwiseUnchanged) {
  FillSampleResult();
  analysis::AnalysisResult& r = analysis::Result();
  r.RobotTotal = 7;
  Fill(r.Robot, {{"Tiny Tiny RSS", 2}, {"Googlebot", 5}});
  for (const Format& f : Formats()) {
    SCOPED_TRACE(f.expectedFile);
    std::string report = f.report();
    const size_t total = report.find(f.totalLine);
    ASSERT_NE(total, std::string::npos);
    const size_t afterTotal = total + f.totalLine.size();
    ASSERT_EQ(report.compare(afterTotal, f.robotTotalLine.size(), f.robotTotalLine), 0);
    report.erase(afterTotal, f.robotTotalLine.size());
    if (std::string(f.expectedFile).ends_with(".html")) {
      // The menu leads to the section too.
      const std::string cell = MakeMenuCell("robot", "ロボット") + "\r\n";
      const size_t at = report.find(cell);
      ASSERT_NE(at, std::string::npos);
      report.erase(at, cell.size());
      const std::string end = "</body>\r\n</html>\r\n";
      ASSERT_TRUE(report.ends_with(f.robotSection + end));
      report.erase(report.size() - f.robotSection.size() - end.size(), f.robotSection.size());
    } else {
      ASSERT_TRUE(report.ends_with(f.robotSection));
      report.erase(report.size() - f.robotSection.size());
    }
    EXPECT_EQ(platform::Utf8ToCp932(report), Expected(f.expectedFile));
  }
}

TEST_F(RobotSectionTest, WithoutRobotsSetApartTheReportsAreTheExpectedOnes) {
  FillSampleResult();
  for (const Format& f : Formats()) {
    SCOPED_TRACE(f.expectedFile);
    EXPECT_EQ(platform::Utf8ToCp932(f.report()), Expected(f.expectedFile));
  }
}

}  // namespace
}  // namespace vorel::reports
