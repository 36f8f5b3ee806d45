#include "export/csv_report.h"

#include <vector>

#include "export/report_test_support.h"

namespace vorel::reports {
namespace {

using testing::ReadFile;

using CsvReportTest = ReportTest;

// Splits one CSV line the way a spreadsheet reads it (RFC 4180 quoting).
std::vector<std::string> ReadCells(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back().push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cells.back().push_back(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back().push_back(c);
    }
  }
  return cells;
}

TEST_F(CsvReportTest, WritesEveryBlockInOrderAsCp932WithCrLf) {
  FillSampleResult();
  const std::string path = dir.File("report.csv");
  ASSERT_TRUE(WriteCsvReport(path));
  EXPECT_EQ(ReadFile(path), Expected("full_report.csv"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(CsvReportTest, BeforeAnyAnalysisHoldsHeadingsOnly) {
  Fill(analysis::Result().OS, {{"Linux", 0}});
  const std::string path = dir.File("empty.csv");
  ASSERT_TRUE(WriteCsvReport(path));
  EXPECT_EQ(ReadFile(path), ReportBytes("\"解析日付\",\"指定なし\"\n"
                                        "\"解析条件\",\"指定なし\"\n"
                                        "\n"
                                        "\"アクセス合計\",0\n"
                                        "\n\"月別\"\n"
                                        "\n\"週別\"\n"
                                        "\n\"曜日別\"\n"
                                        "\n\"日付別\"\n"
                                        "\n\"時間別\"\n"
                                        "\n\"ＯＳ別\"\n"
                                        "\n\"ブラウザ別\"\n"
                                        "\n\"エージェント別\",0\n"
                                        "\n\"ホスト名別\",0\n"
                                        "\n\"前画面別\",0\n"
                                        "\n\"ページ別\",0\n"));
}

TEST_F(CsvReportTest, NamesWithQuotesAndCommasReadBackAsOneCell) {
  const std::string name = "say \"hi\", then \"\"bye\"\"";
  Fill(analysis::Result().Agent, {{name.c_str(), 3}});
  settings::SetParam("SpecifyPage", true);
  settings::SetParam("Page", "a\"b");
  const std::string path = dir.File("quotes.csv");
  ASSERT_TRUE(WriteCsvReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));

  const std::string row = "\"say \"\"hi\"\", then \"\"\"\"bye\"\"\"\"\",3\r\n";
  ASSERT_NE(text.find(row), std::string::npos) << text;
  EXPECT_EQ(ReadCells(row.substr(0, row.size() - 2)), (std::vector<std::string>{name, "3"}));
  EXPECT_NE(text.find("\"解析条件\",\"(a\"\"b)\"\r\n"), std::string::npos) << text;
}

TEST_F(CsvReportTest, NamesThatASpreadsheetWouldRunAsFormulasAreDefused) {
  analysis::AnalysisResult& r = analysis::Result();
  Fill(r.Agent, {{"=HYPERLINK(\"http://evil.example/\",\"click\")", 1}, {"=cmd|' /C calc'!A0", 2}});
  Fill(r.Host, {{"+1.2.3.4", 1}, {"-2+3", 2}, {"@SUM(A1)", 3}, {"\tindented", 4}, {"\rreturned", 5}});
  Fill(r.Ref, {{"http://x/?a=1-2", 6}});
  Fill(r.Page, {{"index", 7}});
  const std::string path = dir.File("formulas.csv");
  ASSERT_TRUE(WriteCsvReport(path));
  const std::string text = testing::FromSjis(ReadFile(path));

  for (const char* row : {"\"'=cmd|' /C calc'!A0\",2\r\n",
                          "\"'=HYPERLINK(\"\"http://evil.example/\"\",\"\"click\"\")\",1\r\n", "\"'+1.2.3.4\",1\r\n", "\"'-2+3\",2\r\n", "\"'@SUM(A1)\",3\r\n", "\"'\tindented\",4\r\n",
                          // A CR is no control character in a report at all.
                          "\"?returned\",5\r\n"})
    EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
  // Names that do not begin with a formula character, numbers and fixed texts stay as they were.
  EXPECT_NE(text.find("\"http://x/?a=1-2\",6\r\n\r\n\"ページ別\",1\r\n\"index\",7\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"アクセス合計\",0\r\n"), std::string::npos);
}

TEST_F(CsvReportTest, ControlCharactersInNamesBecomeQuestionMarks) {
  Fill(analysis::Result().Agent, {{"bot\x1b[31mred\x1b[0m\x7f\x01", 1}});
  const std::string path = dir.File("controls.csv");
  ASSERT_TRUE(WriteCsvReport(path));
  EXPECT_NE(testing::FromSjis(ReadFile(path)).find("\"bot?[31mred?[0m??\",1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorel::reports
