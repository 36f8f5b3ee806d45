#include "export/text_report.h"

#include "export/report_test_support.h"

namespace vorel::reports {
namespace {

using testing::ReadFile;

using TextReportTest = ReportTest;

TEST_F(TextReportTest, WritesEveryBlockInOrderAsCp932WithCrLf) {
  FillSampleResult();
  const std::string path = dir.File("report.txt");
  ASSERT_TRUE(WriteTextReport(path));
  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes, Expected("full_report.txt"));
  // The range's tilde is FULLWIDTH TILDE, 81 60 in CP932.
  EXPECT_NE(bytes.find(" \x81\x60 "), std::string::npos);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TextReportTest, BeforeAnyAnalysisHoldsHeadingsOnly) {
  Fill(analysis::Result().OS, {{"Linux", 0}, {"Windows XP", 0}});
  Fill(analysis::Result().Brws, {{"Firefox", 0}});
  const std::string path = dir.File("empty.txt");
  ASSERT_TRUE(WriteTextReport(path));
  EXPECT_EQ(ReadFile(path), ReportBytes("解析日付: 指定なし\n"
                                        "解析条件: 指定なし\n"
                                        "\n"
                                        "アクセス合計: 0\n"
                                        "\n月別\n"
                                        "\n週別\n"
                                        "\n曜日別\n"
                                        "\n日付別\n"
                                        "\n時間別\n"
                                        "\nＯＳ別\n"
                                        "\nブラウザ別\n"
                                        "\nエージェント別 (0)\n"
                                        "\nホスト名別 (0)\n"
                                        "\n前画面別 (0)\n"
                                        "\nページ別 (0)\n"));
}

TEST_F(TextReportTest, LongCountsAreWrittenWhole) {
  analysis::AnalysisResult& r = analysis::Result();
  r.Total = 12345;
  r.Month[1] = 12345;
  r.WWeek[1] = 12345;
  r.DWeek[7] = 12345;
  r.Date[10] = 12345;
  r.Time[12] = 12345;
  Fill(r.Page, {{"index", 12345}});
  const std::string path = dir.File("wide.txt");
  ASSERT_TRUE(WriteTextReport(path));
  EXPECT_EQ(ReadFile(path), ReportBytes("解析日付: 指定なし\n"
                                        "解析条件: 指定なし\n"
                                        "\n"
                                        "アクセス合計: 12345\n"
                                        "\n月別\n 1月:12345\n"
                                        "\n週別\n第  1週:12345\n"
                                        "\n曜日別\n土:12345\n"
                                        "\n日付別\n10日:12345\n"
                                        "\n時間別\n12時:12345\n"
                                        "\nＯＳ別\n"
                                        "\nブラウザ別\n"
                                        "\nエージェント別 (0)\n"
                                        "\nホスト名別 (0)\n"
                                        "\n前画面別 (0)\n"
                                        "\nページ別 (1)\n12345: index\n"));
}

TEST_F(TextReportTest, ControlCharactersInNamesNeverReachTheFile) {
  analysis::AnalysisResult& r = analysis::Result();
  // An escape sequence that would recolour a terminal, a bare CR that would
  // break the line, DEL; TAB and non-ASCII text stay.
  Fill(r.Agent, {{"bot\x1b[2J\x1b]0;owned\x07", 1}, {"a\tb 日本\x7f", 2}});
  Fill(r.Ref, {{"http://x/\rfake line", 3}});
  settings::SetParam("SpecifyPage", true);
  settings::SetParam("Page", "in\x1b" "dex");
  const std::string path = dir.File("controls.txt");
  ASSERT_TRUE(WriteTextReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));
  EXPECT_NE(text.find("解析条件: (in?dex)\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n   2: a\tb 日本?\r\n   1: bot?[2J?]0;owned?\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n   3: http://x/?fake line\r\n"), std::string::npos) << text;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 0x20 ? b != 0x7F : (c == '\t' || c == '\r' || c == '\n')) << int(b);
  }
  // Every CR belongs to a line end.
  for (size_t i = text.find('\r'); i != std::string::npos; i = text.find('\r', i + 1)) EXPECT_EQ(text[i + 1], '\n');
}

TEST_F(TextReportTest, ReplacesAnExistingReport) {
  FillSampleResult();
  const std::string path = dir.Write("report.txt", std::string(5000, 'x'));
  ASSERT_TRUE(WriteTextReport(path));
  EXPECT_EQ(ReadFile(path), Expected("full_report.txt"));
}

TEST_F(TextReportTest, TablesPastTheSixteenBitLimitAreWrittenWhole) {
  analysis::AnalysisResult& r = analysis::Result();
  const int32_t entries = analysis::kSixteenBitEntries + 3000;
  r.Total = entries;
  r.Month[1] = entries;
  r.Host.Clear();
  for (int32_t i = 1; i <= entries; ++i) ASSERT_EQ(r.Host.Append("h" + std::to_string(i), 1), i);
  r.Host.Counts[static_cast<size_t>(entries)] = 2;  // the top entry, as sorting leaves it
  const std::string path = dir.File("hosts.txt");
  ASSERT_TRUE(WriteTextReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));
  EXPECT_NE(text.find("ホスト名別 (" + std::to_string(entries) + ")\r\n   2: h" + std::to_string(entries) + "\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("   1: h1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorel::reports
