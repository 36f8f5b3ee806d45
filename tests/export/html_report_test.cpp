#include "export/html_report.h"

#include <regex>

#include "export/report_test_support.h"

namespace vorel::reports {
namespace {

using testing::ReadFile;

using HtmlReportTest = ReportTest;

// The lines of a section without rows.
std::string EmptySection(const std::string& anchor, const std::string& label) {
  return "<div>\n\t<br>\n\t<hr>\n\t<a name=\"" + anchor + "\"><strong>★" + label + "別</strong></a><br>\n</div>\n";
}

TEST_F(HtmlReportTest, WritesThePageAndItsImage) {
  FillSampleResult();
  const std::string path = dir.File("report.html");
  ASSERT_TRUE(WriteHtmlReport(path));
  EXPECT_EQ(ReadFile(path), Expected("full_report.html"));
  EXPECT_EQ(ReadFile(dir.File("bar.gif")).size(), 92u);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(HtmlReportTest, BeforeAnyAnalysisEverySectionIsItsHeadAlone) {
  Fill(analysis::Result().OS, {{"Linux", 0}, {"Windows XP", 0}});
  Fill(analysis::Result().Brws, {{"Firefox", 0}});
  Fill(analysis::Result().Page, {{"index", 0}});  // every access outside the dates
  const std::string path = dir.File("empty.htm");
  ASSERT_TRUE(WriteHtmlReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));
  std::string sections = EmptySection("month", "月") + EmptySection("week", "週") +
                         EmptySection("dweek", "曜日") + EmptySection("date", "日付") +
                         EmptySection("time", "時間") + EmptySection("os", "ＯＳ") +
                         EmptySection("brws", "ブラウザ") + EmptySection("ob", "エージェント") +
                         EmptySection("host", "ホスト名") + EmptySection("ref", "前画面") +
                         EmptySection("page", "ページ") + "</body>\n</html>\n";
  std::string expectedTail;
  for (char c : sections) {
    if (c == '\n') expectedTail.push_back('\r');
    expectedTail.push_back(c);
  }
  ASSERT_GE(text.size(), expectedTail.size());
  EXPECT_EQ(text.substr(text.size() - expectedTail.size()), expectedTail);
  EXPECT_NE(text.find("\t解析日付： 指定なし<br>\r\n\t解析条件： 指定なし<br>\r\n\tアクセス合計： 0<br>\r\n"),
            std::string::npos);
}

TEST_F(HtmlReportTest, VisitorTextsCannotInjectMarkup) {
  settings::SetParam("SpecifyPage", true);
  settings::SetParam("Page", "x\"><script>alert(1)</script>&");
  Fill(analysis::Result().Ref, {{"http://evil.example/<script>", 1}});
  Fill(analysis::Result().Host, {{"<img src=x onerror=alert(1)>", 1}});
  Fill(analysis::Result().Page, {{"a&b", 2}});
  const std::string path = dir.File("escaped.html");
  ASSERT_TRUE(WriteHtmlReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));

  EXPECT_NE(text.find("\t解析条件： (x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;)<br>\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\thttp://evil.example/&lt;script&gt;(1)<br><img src=\"bar.gif\" width=\"500\""),
            std::string::npos);
  EXPECT_NE(text.find("\t&lt;img src=x onerror=alert(1)&gt;(1)<br>"), std::string::npos);
  EXPECT_NE(text.find("\ta&amp;b(2)<br>"), std::string::npos);
  EXPECT_EQ(text.find("<script"), std::string::npos);
  EXPECT_EQ(text.find("<img src=x"), std::string::npos);
}

TEST_F(HtmlReportTest, ControlCharactersInNamesBecomeQuestionMarks) {
  Fill(analysis::Result().Host, {{"h\x1b[1m\rx\x7f", 2}});
  const std::string path = dir.File("controls.htm");
  ASSERT_TRUE(WriteHtmlReport(path));
  EXPECT_NE(testing::FromSjis(ReadFile(path)).find("\th?[1m?x?(2)<br>"), std::string::npos);
}

TEST_F(HtmlReportTest, BothTimeStampsShowTheSameMoment) {
  SetReportClockForTesting(nullptr);  // the real clock
  const std::string path = dir.File("now.html");
  ASSERT_TRUE(WriteHtmlReport(path));
  const std::string text = ReadFile(path);
  auto stamp = [&text](const std::string& before) {
    size_t start = text.find(before);
    if (start == std::string::npos) return std::string("(missing)");
    start += before.size();
    return text.substr(start, text.find('"', start) - start);
  };
  const std::string expires = stamp("<meta http-equiv=\"Expires\" content=\"");
  EXPECT_EQ(expires, stamp("<meta name=\"date\" content=\""));
  // yyyy-m-d h:n:s without leading zeros
  EXPECT_TRUE(std::regex_match(expires, std::regex("[0-9]{4}-[1-9][0-9]?-[1-9][0-9]? "
                                                   "(0|[1-9][0-9]?):(0|[1-9][0-9]?):(0|[1-9][0-9]?)")))
      << expires;
}

TEST(BarWidthTest, IsTheFlooredDoubleProductOfCountAndScale) {
  EXPECT_EQ(BarWidth(4, 4), 500);
  EXPECT_EQ(BarWidth(3, 4), 375);
  EXPECT_EQ(BarWidth(2, 4), 250);
  EXPECT_EQ(BarWidth(1, 4), 125);
  EXPECT_EQ(BarWidth(19, 19), 499);
  EXPECT_EQ(BarWidth(90, 90), 500);
  EXPECT_EQ(BarWidth(45, 90), 250);
  EXPECT_EQ(BarWidth(0, 90), 0);
  EXPECT_EQ(BarWidth(0, 0), 0);
}

TEST_F(HtmlReportTest, PageRowsKeepZeroCountsAndGoLargestFirst) {
  Fill(analysis::Result().Page, {{"c", 0}, {"b", 45}, {"a", 90}});
  const std::string path = dir.File("pages.html");
  ASSERT_TRUE(WriteHtmlReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));
  EXPECT_NE(text.find("<a name=\"page\"><strong>★ページ別</strong></a><br>\r\n"
                      "\ta(90)<br><img src=\"bar.gif\" width=\"500\" height=\"12\" alt=\"Bar\"><br>\r\n"
                      "\tb(45)<br><img src=\"bar.gif\" width=\"250\" height=\"12\" alt=\"Bar\"><br>\r\n"
                      "\tc(0)<br><img src=\"bar.gif\" width=\"0\" height=\"12\" alt=\"Bar\"><br>\r\n"
                      "</div>\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vorel::reports
