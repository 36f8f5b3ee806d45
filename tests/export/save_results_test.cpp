#include "export/save_results.h"

#include <filesystem>

#include "export/report_common.h"
#include "export/report_test_support.h"

namespace vorel::reports {
namespace {

using platform::MessageAnswer;
using testing::ReadFile;

using SaveResultsTest = ReportTest;

TEST(ChooseReportFormatTest, FollowsTheEndOfTheNameInAnyCase) {
  EXPECT_EQ(ChooseReportFormat("/tmp/report.csv"), ReportFormat::Csv);
  EXPECT_EQ(ChooseReportFormat("/tmp/report.CSV"), ReportFormat::Csv);
  EXPECT_EQ(ChooseReportFormat("report.Csv"), ReportFormat::Csv);
  EXPECT_EQ(ChooseReportFormat("report.HTM"), ReportFormat::Html);
  EXPECT_EQ(ChooseReportFormat("report.Html"), ReportFormat::Html);
  EXPECT_EQ(ChooseReportFormat("/a.b/report.htm"), ReportFormat::Html);
  EXPECT_EQ(ChooseReportFormat("/x/report.txt.htm"), ReportFormat::Html);
  EXPECT_EQ(ChooseReportFormat("/x/report.html.txt"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report.txt"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report.log"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report.csvx"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report.htmlx"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("/x.csv/report"), ReportFormat::Text);
  EXPECT_EQ(ChooseReportFormat("report.ｃｓｖ"), ReportFormat::Text);  // full-width letters are not the extension
}

TEST_F(SaveResultsTest, EachFormatGoesToItsWriter) {
  FillSampleResult();
  ASSERT_TRUE(SaveResults(dir.File("r.txt"), ReportFormat::Text));
  ASSERT_TRUE(SaveResults(dir.File("r.csv"), ReportFormat::Csv));
  ASSERT_TRUE(SaveResults(dir.File("r.html"), ReportFormat::Html));
  ASSERT_TRUE(SaveResults(dir.File("other"), static_cast<ReportFormat>(7)));
  EXPECT_EQ(ReadFile(dir.File("r.txt")), Expected("full_report.txt"));
  EXPECT_EQ(ReadFile(dir.File("r.csv")), Expected("full_report.csv"));
  EXPECT_EQ(ReadFile(dir.File("r.html")), Expected("full_report.html"));
  EXPECT_EQ(ReadFile(dir.File("other")), Expected("full_report.html"));
}

// A report of several pieces reaches the file whole and once, in every
// format, also when a failed write was retried.
TEST_F(SaveResultsTest, ReportsOfManyPiecesAreWrittenWholeOnce) {
  FillSampleResult();
  analysis::CategoryTable& ref = analysis::Result().Ref;
  ref.Clear();
  for (int32_t i = 1; static_cast<size_t>(ref.Count) * 40 < 3 * kReportPieceBytes; ++i)
    ref.Append("http://例え.jp/日記/" + std::to_string(i), i);
  for (const ReportFormat format : {ReportFormat::Text, ReportFormat::Csv, ReportFormat::Html}) {
    const std::string path = dir.File("big" + std::to_string(static_cast<int>(format)));
    int failures = 1;
    platform::SetWriteFaultForTesting([&failures](int step) { return step == 1 && failures-- > 0; });
    prompter.answers = {MessageAnswer::Retry};
    ASSERT_TRUE(SaveResults(path, format));
    EXPECT_EQ(ReadFile(path), platform::Utf8ToCp932(ReportText(format))) << static_cast<int>(format);
  }
}

TEST_F(SaveResultsTest, CancelAfterAFailedWriteLeavesNothingBehind) {
  const std::string path = dir.File("missing/report.txt");
  prompter.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(SaveResults(path, ReportFormat::Text));
  ASSERT_EQ(prompter.messages.size(), 1u);
  const platform::MessageRequest& m = prompter.messages[0];
  EXPECT_EQ(m.text, "ファイルの書き込みに失敗しました。\r\n" + path);
  EXPECT_EQ(m.title, "エラー");
  EXPECT_EQ(m.icon, platform::MessageIcon::Error);
  EXPECT_EQ(m.buttons, platform::MessageButtons::RetryCancel);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST_F(SaveResultsTest, RetryAfterTheFolderIsCreatedCompletesTheReport) {
  FillSampleResult();
  const std::string path = dir.File("missing/report.csv");
  prompter.answers = {MessageAnswer::Retry};
  prompter.onMessage = [&](const platform::MessageRequest&) { std::filesystem::create_directory(dir.File("missing")); };
  EXPECT_TRUE(SaveResults(path, ReportFormat::Csv));
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(ReadFile(path), Expected("full_report.csv"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("missing")), {}), 1);
}

TEST_F(SaveResultsTest, CancelKeepsTheOldReportWhole) {
  FillSampleResult();
  const std::string path = dir.Write("report.txt", "old report\r\n");
  platform::SetWriteFaultForTesting([](int step) { return step == 1; });  // the disk fills while writing
  prompter.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};
  EXPECT_FALSE(SaveResults(path, ReportFormat::Text));
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(ReadFile(path), "old report\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

TEST_F(SaveResultsTest, HtmlInAMissingFolderAsksForTheImageAndThePage) {
  const std::string folder = dir.File("site");
  prompter.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
  EXPECT_FALSE(SaveResults(folder + "/index.html", ReportFormat::Html));
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, "画像ファイルの書き込みに失敗しました。\r\n" + folder + "/bar.gif");
  EXPECT_EQ(prompter.messages[1].text, "ファイルの書き込みに失敗しました。\r\n" + folder + "/index.html");
}

}  // namespace
}  // namespace vorel::reports
