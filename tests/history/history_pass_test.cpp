// A history analysed gives exactly what analysing its logs, one after the
// other, gives: every filter and option applies at analysis time.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "analysis/log_layout.h"
#include "analysis/result.h"
#include "analysis/time_zone.h"
#include "history/history_adder.h"
#include "history/history_file.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/date.h"
#include "settings/param_store.h"
#include "support/history_logs.h"
#include "support/result_snapshot.h"
#include "support/test_files.h"

namespace vorel::history {
namespace {

using settings::SetParam;

// Records a log can hold beyond the plain four a page view: a stamp at hour
// 24, an unreadable stamp, empty agent and referrer records, another marker,
// and accesses separated by TABs on one line.
constexpr const char* kOddRecords =
    "1#(index)2026/05/03 24:10:00\r\n2#Wget/1.21\r\n3#\r\n4#(192.0.2.9)\r\n"
    "1#(diary)yesterday at noon\r\n2#Wget/1.21\r\n3#http://www.example.jp/\r\n4#(192.0.2.9)\r\n"
    "1#(photo)2026/05/04 10:00:00\r\n2#\r\n3#\r\n5#something else\r\n4#host.example.jp(192.0.2.10)\r\n"
    "1#(index)2026/05/04 11:00:00\t2#Mozilla/5.0 (X11; Linux) Firefox/1.0\t3#http://www.example.jp/\t4#(192.0.2.11)\r\n";

class HistoryPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    dir.Write("vorel.dat", testing::Sjis("OS=Windows NT 5.1,Windows XP\r\nOS=Linux,Linux\r\n"
                                         "Browser=Firefox,Firefox\r\nBrowser=MSIE,Internet Explorer\r\n"
                                         "IgnoreIndex=index.html\r\nRobot=Googlebot,Google\r\nIgnoreHost=192.0.2.1\r\n"));
    analysis::LoadClassListsFrom(dir.File("vorel.dat"));
    analysis::ResetResult();
  }
  bool Analyze(const std::string& path, int additional) {
    SetParam("LogFile", path);
    return analysis::AnalyzeLog(additional);
  }
  // The logs analysed one after the other, and their history analysed.
  void ExpectTheSame(const std::vector<std::string>& logs, const std::string& history) {
    for (size_t i = 0; i < logs.size(); ++i) ASSERT_TRUE(Analyze(logs[i], i == 0 ? 0 : 1));
    const testing::ResultSnapshot fromLogs = testing::TakeResultSnapshot();
    ASSERT_TRUE(Analyze(history, 0));
    EXPECT_EQ(testing::TakeResultSnapshot(), fromLogs);
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

TEST_F(HistoryPassTest, AHistoryCountsAsItsLogsUnderEveryFilter) {
  const std::vector<std::string> logs = {
      dir.Write("records.log", testing::RecordLogLines(0, 400) + kOddRecords),
      dir.Write("access.log", testing::ServerLogLines(400, 400)),
  };
  const std::string history = dir.File("access.history");
  for (const std::string& log : logs) ASSERT_TRUE(AddLogToHistory(history, log).ok);

  struct Filters {
    const char* name;
    std::function<void()> set;
  };
  const Filters filters[] = {
      {"none", [] { SetParam("SpecifyDate", false); SetParam("SpecifyPage", false); }},
      {"each address apart, one set aside", [] {
         SetParam("IgnoreIP", false);
         SetParam("SpecifyClass", false);
         SetParam("SpecifyHost", true);
         SetParam("IgnoreHost", true);
       }},
      {"period", [] {
         SetParam("SpecifyDate", true);
         SetParam("StartDate", *settings::ParseDate("2026/5/2"));
         SetParam("EndDate", *settings::ParseDate("2026/5/3"));
       }},
      {"page", [] { SetParam("SpecifyPage", true); SetParam("Page", std::string("diary")); }},
      {"every page counted", [] { SetParam("IgnorePage", true); }},
  };
  for (const Filters& f : filters) {
    SCOPED_TRACE(f.name);
    f.set();
    ExpectTheSame(logs, history);
  }
  EXPECT_TRUE(prompter.messages.empty());
}

// A server's texts go into the history as the analysis reads them from the
// log: raw UTF-8 or escaped, and in the layout the user named.
TEST_F(HistoryPassTest, AServersTextsAndNamedLayoutGoInAsTheAnalysisReadsThem) {
  SetParam("SpecifyDate", false);
  SetParam("SpecifyPage", false);
  const std::string stamp = "[10/May/2026:12:00:00 +0900]";
  const std::string utf8 = "192.0.2.7 - - " + stamp + " \"GET /\xE6\x97\xA5\xE8\xA8\x98/ HTTP/1.1\" 200 1 "
                           "\"http://x/\xE6\x97\xA5\" \"Bot/1.0 \xE6\x97\xA5\"\n";
  const std::string escaped = "192.0.2.8 - - " + stamp + " \"GET /%E6%97%A5%E8%A8%98/ HTTP/1.1\" 200 1 "
                              "\"http://x/\\xE6\\x97\\xA5\" \"Bot%2F1.0 \\xE6\\x97\\xA5\"\n";
  const std::string texts = dir.Write("texts.log", utf8 + escaped + utf8);
  ASSERT_TRUE(AddLogToHistory(dir.File("texts.history"), texts).ok);
  ExpectTheSame({texts}, dir.File("texts.history"));
  ASSERT_EQ(analysis::Result().Page.Count, 1);
  EXPECT_EQ(analysis::Result().Page.Names[1], "/日記/");

  const std::string layout = "%t %h \"%r\" %>s";
  const std::string named = dir.Write("named.log", stamp + " 192.0.2.9 \"GET /a.html HTTP/1.1\" 200\n" +
                                                       stamp + " 192.0.2.9 \"GET /b.html HTTP/1.1\" 200\n");
  SetParam("LogFormat", layout);
  const AddOutcome outcome = AddLogToHistory(dir.File("named.history"), named, layout);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(outcome.added, 2);
  ExpectTheSame({named}, dir.File("named.history"));

  // A layout that does not compile adds nothing and says why.
  std::string compilerSays;
  analysis::LogLayout unused;
  ASSERT_FALSE(analysis::CompileLogLayout("%{", unused, compilerSays));
  const AddOutcome refused = AddLogToHistory(dir.File("refused.history"), named, "%{");
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, compilerSays);
  EXPECT_FALSE(std::filesystem::exists(dir.File("refused.history")));
}

TEST_F(HistoryPassTest, AServersLinesInAHistoryFollowTheChosenZoneAndRobotModeAsInTheirLog) {
  // Two servers a day's hours apart and a record log, which is read as logged whatever the zone.
  const std::vector<std::string> logs = {
      dir.Write("records.log", testing::RecordLogLines(0, 300)),
      dir.Write("tokyo.log", testing::ServerLogLines(300, 300, "+0900")),
      dir.Write("newyork.log", testing::ServerLogLines(600, 300, "-0500")),
  };
  const std::string history = dir.File("access.history");
  for (const std::string& log : logs) ASSERT_TRUE(AddLogToHistory(history, log).ok);
  SetParam("SpecifyDate", false);
  SetParam("SpecifyPage", false);

  struct Row {
    int robotMode;
    const char* zone;
  };
  const Row rows[] = {{0, "Asia/Tokyo"}, {1, "Asia/Tokyo"}, {0, "UTC"}, {1, "UTC"}, {2, "UTC"}};
  std::vector<testing::ResultSnapshot> results;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.zone) + " RobotMode " + std::to_string(row.robotMode));
    SetParam("RobotMode", row.robotMode);
    SetParam("TimeZone", std::string(row.zone));
    ExpectTheSame(logs, history);
    EXPECT_EQ(analysis::Result().ServerTimeZone, analysis::TimeZone::FromSetting(row.zone)->Description());
    EXPECT_EQ(analysis::Result().RobotTotal > 0, row.robotMode != 0);
    results.push_back(testing::TakeResultSnapshot());
  }
  // The zone and the robot mode each change the counts, so the rows above compare something.
  EXPECT_NE(results[0].periods, results[2].periods);
  EXPECT_NE(results[0].total, results[1].total);
  EXPECT_NE(results[3].total, results[4].total);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(HistoryPassTest, TheAnalysisCommandTakesAHistoryForFourRecordsAPageView) {
  const std::string history = dir.File("access.history");
  ASSERT_TRUE(AddLogToHistory(history, dir.Write("access.log", testing::ServerLogLines(0, 30))).ok);
  SetParam("LogFile", history);
  SetParam("SpecifyDate", false);
  SetParam("SpecifyPage", false);
  ASSERT_EQ(analysis::PrepareAnalysis().problem, analysis::LogProblem::None);
  EXPECT_EQ(analysis::RunAnalysis(0), analysis::AnalysisOutcome::Counted);
  EXPECT_EQ(analysis::LastServerLogCounts().records, 30 * 4);
  EXPECT_EQ(analysis::Result().Total + analysis::Result().RobotTotal, 30);
}

TEST_F(HistoryPassTest, AForeignDatabaseAnalysedSaysItIsNoHistory) {
  const std::string path = dir.Write("other.sqlite", std::string("SQLite format 3\0", 16) + std::string(4080, '\0'));
  SetParam("LogFile", path);
  EXPECT_FALSE(analysis::AnalyzeLog(0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].text.find(kNotHistory), std::string::npos);
}

}  // namespace
}  // namespace vorel::history
