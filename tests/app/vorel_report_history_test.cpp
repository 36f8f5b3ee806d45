// vorel-report --history as a server owner's daily run uses it: each day's
// rotated log goes into the history, and the report covers all of it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/report_process.h"
#include "support/history_logs.h"
#include "support/test_files.h"

namespace vorel::testing {
namespace {

class VorelReportHistoryTest : public ::testing::Test {
 protected:
  ProcessResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--settings", settings, "--all-dates", "--all-pages"});
    return RunProgram(VOREL_REPORT_EXE, args, work.path());
  }
  TempDir work;
  std::string settings = work.Write("settings.ini", "[vorel]\r\n");
};

TEST_F(VorelReportHistoryTest, DailyRunsAddEachRotatedLogOnceAndReportTheWholeHistory) {
  const std::string history = work.File("access.history");
  // Day 1: yesterday's log, rotated.
  const std::string day1 = work.Write("access.log.1", ServerLogLines(0, 300));
  ProcessResult first = Run({"--history", history, day1, "-o", "history1.txt"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.err.find("access.log.1: 履歴に追加したページビュー 300 件、追加済みのページビュー 0 件"),
            std::string::npos)
      << first.err;
  // Day 2: that log is now compressed beside the new one; both are named.
  WriteGzipFile(work.File("access.log.2.gz"), ServerLogLines(0, 300));
  const std::string day2 = work.Write("access.log.1", ServerLogLines(300, 200));
  ProcessResult second = Run({"--history", history, work.File("access.log.2.gz"), day2, "-o", "history2.html"});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(second.err.find("access.log.2.gz: 履歴に追加したページビュー 0 件、追加済みのページビュー 300 件"),
            std::string::npos)
      << second.err;
  EXPECT_NE(second.err.find("access.log.1: 履歴に追加したページビュー 200 件、追加済みのページビュー 0 件"),
            std::string::npos)
      << second.err;
  EXPECT_TRUE(std::filesystem::exists(work.File("bar.gif")));

  // The history's report is the report of both days' logs; robots counted too, all 500 page views show.
  ASSERT_EQ(Run({"--robots", "count", history, "-o", "from-history.txt"}).status, 0);
  ASSERT_EQ(Run({"--robots", "count", work.File("access.log.2.gz"), day2, "-o", "from-logs.txt"}).status, 0);
  EXPECT_EQ(ReadFile(work.File("from-history.txt")), ReadFile(work.File("from-logs.txt")));
  EXPECT_NE(ReadFile(work.File("from-history.txt")).find("500"), std::string::npos);
}

TEST_F(VorelReportHistoryTest, StandardInputGoesIntoTheHistoryLikeAnyLog) {
  const std::string history = work.File("access.history");
  const ProcessResult piped = RunProgram(
      VOREL_REPORT_EXE, {"--settings", settings, "--all-dates", "--all-pages", "--history", history, "-", "-o", "r.txt"},
      work.path(), false, ServerLogLines(0, 40));
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_NE(piped.err.find("履歴に追加したページビュー 40 件"), std::string::npos) << piped.err;
}

TEST_F(VorelReportHistoryTest, AFileThatIsNoHistoryIsRefusedAndLeftAlone) {
  const std::string notes = work.Write("notes.txt", "not a history\n");
  const std::string log = work.Write("access.log", ServerLogLines(0, 10));
  ProcessResult r = Run({"--history", notes, log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find(notes), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(notes), "not a history\n");
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
}

}  // namespace
}  // namespace vorel::testing
