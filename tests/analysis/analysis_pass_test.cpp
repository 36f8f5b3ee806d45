#include "analysis/analysis_pass.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <random>

#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using settings::SetParam;
using testing::Sjis;

std::string Access(const std::string& page, const std::string& stamp, const std::string& agent,
                   const std::string& ref, const std::string& host) {
  return "1#(" + page + ")" + stamp + "\r\n2#" + agent + "\r\n3#" + ref + "\r\n4#" + host + "\r\n";
}

class RecordingReceiver : public ProgressReceiver {
 public:
  void aauStatusChange(int16_t piVal) override { positions.push_back(piVal); }
  void aauMessageChange(const std::string& psHelpCode) override { messages.push_back(psHelpCode); }
  std::vector<int> positions;
  std::vector<std::string> messages;
};

class AnalysisPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    SetParam("SpecifyDate", false);
    SetParam("SpecifyPage", false);
    dir.Write("vorel.dat", Sjis("OS=Win98,Windows 98\r\nOS=Windows 98,Windows 98\r\nOS=Linux,Linux\r\n"
                                "Browser=Firefox,Firefox\r\nBrowser=MSIE,Internet Explorer\r\n"
                                "IgnoreIndex=index.html\r\n"));
    LoadClassListsFrom(dir.File("vorel.dat"));
    ResetResult();
  }
  void TearDown() override { SetProgressReceiver(nullptr); }

  bool Analyze(const std::string& text, int additional = 0) {
    SetParam("LogFile", dir.Write("access.log", Sjis(text)));
    return AnalyzeLog(additional);
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

const char* kFx = "Mozilla/5.0 (X11; Linux) Firefox/1.0";
const char* kIe98 = "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98)";
const char* kIeWin98 = "Mozilla/4.0 (compatible; MSIE 4.0; Win98)";

TEST_F(AnalysisPassTest, CountsEveryBreakdownAndSortsTheTables) {
  std::string log = Access("index", "2001/12/05 09:03:07", kFx, "http://a.jp/index.html?x", "p1.ocn.ne.jp(1.2.3.4)") +
                    Access("index", "2001/12/06 23:00:00", kIe98, "http://a.jp/", "p2.ocn.ne.jp(1.2.3.5)") +
                    Access("diary", "2002/01/01 00:10:00", kIeWin98, "", "(10.1.2.3)");
  ASSERT_TRUE(Analyze(log));
  const AnalysisResult& r = Result();
  EXPECT_EQ(r.Total, 3);
  EXPECT_EQ(r.Month[12], 2);
  EXPECT_EQ(r.Month[1], 1);
  EXPECT_EQ(r.Date[5] + r.Date[6] + r.Date[1], 3);
  EXPECT_EQ(r.Time[9], 1);
  EXPECT_EQ(r.Time[23], 1);
  EXPECT_EQ(r.Time[0], 1);
  EXPECT_EQ(r.DWeek[4], 1);  // Wednesday
  // OS: both Windows 98 lines merged into one entry, the other left at 0, largest last.
  ASSERT_EQ(r.OS.Count, 3);
  EXPECT_EQ(r.OS.Names[3], "Windows 98");
  EXPECT_EQ(r.OS.Counts[3], 2);
  EXPECT_EQ(r.OS.Names[2], "Linux");
  EXPECT_EQ(r.OS.Counts[1], 0);
  EXPECT_EQ(r.Brws.Names[r.Brws.Count], "Internet Explorer");
  EXPECT_EQ(r.Brws.Counts[r.Brws.Count], 2);
  // Referrers: both normalise to the same key; the raw ones stay apart; "3#" alone counts nowhere.
  ASSERT_EQ(r.Ref.Count, 1);
  EXPECT_EQ(r.Ref.Names[1], "http://a.jp/");
  EXPECT_EQ(r.Ref.Counts[1], 2);
  EXPECT_EQ(r.Url.Count, 2);
  // Hosts grouped by domain and address class.
  ASSERT_EQ(r.Host.Count, 2);
  EXPECT_EQ(r.Host.Names[2], "*.ocn.ne.jp");
  EXPECT_EQ(r.Host.Counts[2], 2);
  EXPECT_EQ(r.Host.Names[1], "10.*.*.*");
  EXPECT_EQ(r.Page.Names[2], "index");
  EXPECT_EQ(r.Page.Counts[2], 2);
  EXPECT_EQ(r.Agent.Count, 3);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AnalysisPassTest, PageFilterCountsOnlyPageAndHostForOtherPages) {
  SetParam("SpecifyPage", true);
  SetParam("Page", "top");
  ASSERT_TRUE(Analyze(Access("index", "2001/12/05 09:03:07", kFx, "http://a/", "h.a.jp(1.2.3.4)") +
                      Access("top", "2001/12/05 10:03:07", kFx, "http://b/", "h.b.jp(1.2.3.5)")));
  const AnalysisResult& r = Result();
  EXPECT_EQ(r.Total, 1);
  EXPECT_EQ(r.Host.Count, 2);
  EXPECT_EQ(r.Page.Count, 2);
  EXPECT_EQ(r.Page.Counts[1] + r.Page.Counts[2], 2);
  EXPECT_EQ(r.Agent.Counts[1], 1);
  EXPECT_EQ(r.Ref.Count, 1);
  EXPECT_EQ(r.Ref.Names[1], "http://b/");
  EXPECT_EQ(r.Url.Count, 1);
}

TEST_F(AnalysisPassTest, IgnorePageDecidesWhetherPagesOutsideThePeriodCount) {
  SetParam("SpecifyDate", true);
  SetParam("StartDate", "2001/12/1");
  SetParam("EndDate", "2001/12/31");
  std::string log = Access("old", "2001/11/30 09:00:00", kFx, "", "h.a.jp(1.2.3.4)") +
                    Access("new", "2001/12/01 09:00:00", kFx, "", "h.a.jp(1.2.3.4)");
  ASSERT_TRUE(Analyze(log));
  EXPECT_EQ(Result().Total, 1);
  EXPECT_EQ(Result().Page.Counts[1], 1);
  EXPECT_EQ(Result().Page.Counts[2], 1);
  EXPECT_EQ(Result().Host.Counts[1], 1);

  SetParam("IgnorePage", false);
  ASSERT_TRUE(Analyze(log));
  ASSERT_EQ(Result().Page.Count, 2);
  EXPECT_EQ(Result().Page.Names[1], "old");  // still an entry, with 0
  EXPECT_EQ(Result().Page.Counts[1], 0);
  EXPECT_EQ(Result().Page.Counts[2], 1);
}

TEST_F(AnalysisPassTest, RejectedHostsCountNowhereButThePage) {
  SetParam("IgnoreIP", true);
  ASSERT_TRUE(Analyze(Access("index", "2001/12/05 09:03:07", kFx, "http://a/", "(1.2.3.4)")));
  const AnalysisResult& r = Result();
  EXPECT_EQ(r.Total, 0);
  EXPECT_EQ(r.Host.Count, 0);
  EXPECT_EQ(r.Page.Counts[1], 1);  // IgnorePage is on by default
  EXPECT_EQ(r.Agent.Count, 1);     // entries made before the host was judged stay with 0
  EXPECT_EQ(r.Agent.Counts[1], 0);
  EXPECT_EQ(r.OS.Counts[r.OS.Count], 0);
}

TEST_F(AnalysisPassTest, AnAdditionalAnalysisOfTheSameLogDoublesEveryCount) {
  std::string log = Access("index", "2001/12/05 09:03:07", kIe98, "http://a/", "h.a.jp(1.2.3.4)") +
                    Access("diary", "2001/12/06 09:03:07", kIeWin98, "http://b/", "(10.2.3.4)") +
                    Access("diary", "2001/12/07 09:03:07", kFx, "http://b/", "(10.2.3.4)");
  ASSERT_TRUE(Analyze(log));
  AnalysisResult first = Result();
  ASSERT_TRUE(Analyze(log, 1));
  const AnalysisResult& r = Result();
  EXPECT_EQ(r.Total, 2 * first.Total);
  EXPECT_EQ(r.Agent.Count, first.Agent.Count);
  for (int32_t i = 1; i <= r.Agent.Count; ++i) EXPECT_EQ(r.Agent.Counts[i], 2 * first.Agent.Counts[i]);
  EXPECT_EQ(r.Month[12], 6);
  EXPECT_EQ(r.OS.Count, 3);
  EXPECT_EQ(r.OS.Names[3], "Windows 98");
  EXPECT_EQ(r.OS.Counts[3], 4);
  EXPECT_EQ(r.OS.Counts[1], 0);
  EXPECT_EQ(r.Host.Names[r.Host.Count], "10.*.*.*");
  EXPECT_EQ(r.Host.Counts[r.Host.Count], 4);
}

// Counts go past no limit, whether a table counts at each access or adds up
// its accesses at the end of the pass: each fails the pass as Agent does.
TEST_F(AnalysisPassTest, ACountAtItsLimitFailsAnAdditionalPassWhicheverTableHoldsIt) {
  ASSERT_TRUE(Analyze(Access("index", "2001/12/05 09:03:07", kFx, "http://a/", "(1.2.3.4)")));
  const auto passAtLimit = [](CategoryTable AnalysisResult::*table) {
    AnalysisResult copy = Result();
    (copy.*table).Counts[1] = std::numeric_limits<int32_t>::max();
    return RunPass(ReadPassRequest(1), copy, PassControl{});
  };
  const PassOutcome agent = passAtLimit(&AnalysisResult::Agent);
  ASSERT_EQ(agent.status, PassStatus::Failed);
  for (auto table : {&AnalysisResult::Url, &AnalysisResult::Ref, &AnalysisResult::Host}) {
    const PassOutcome outcome = passAtLimit(table);
    EXPECT_EQ(outcome.status, PassStatus::Failed);
    EXPECT_EQ(outcome.error, agent.error);
  }
}

TEST_F(AnalysisPassTest, ProgressIsReportedEveryCheckLineRecordsOfAnyKind) {
  RecordingReceiver receiver;
  SetProgressReceiver(&receiver);
  std::string log;
  for (int i = 0; i < 100; ++i) log += Access("p", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)");
  log += "5#other\r\n";  // 401 records
  ASSERT_TRUE(Analyze(log));
  // At records 201 and 401, by the share of bytes read, then the full bar.
  ASSERT_EQ(receiver.positions.size(), 3u);
  EXPECT_GT(receiver.positions[0], kProgressRange * 4 / 10);
  EXPECT_LT(receiver.positions[0], kProgressRange * 6 / 10);
  EXPECT_EQ(receiver.positions[1], kProgressRange);
  EXPECT_EQ(receiver.positions[2], kProgressRange);
  EXPECT_EQ(receiver.messages, std::vector<std::string>{"データのソート中です。"});
  EXPECT_EQ(CurrentLineNo(), 401);
}

TEST_F(AnalysisPassTest, APageRecordWithoutItsBracketStopsThePassWithTheLineNumber) {
  std::string log = Access("a", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)") + "\r\n1#(broken 2001/12/05\r\n";
  EXPECT_FALSE(Analyze(log));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "解析エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].text.rfind("6行目でエラーが発生しました\r\n( ", 0), 0u) << prompter.messages[0].text;
}

TEST_F(AnalysisPassTest, AMissingLogIsAnError) {
  SetParam("LogFile", dir.File("none.log"));
  EXPECT_FALSE(AnalyzeLog(0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "0行目でエラーが発生しました\r\n( ファイルが見つかりません。 )");
}

TEST_F(AnalysisPassTest, AnUnreadableLogStopsThePassInsteadOfLooping) {
  SetParam("LogFile", dir.path());  // a folder opens but cannot be read
  EXPECT_FALSE(AnalyzeLog(0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "解析エラー");
}

TEST_F(AnalysisPassTest, TheLastAccessCountsWithoutAFinalLineEnd) {
  std::string log = Access("a", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)");
  log.resize(log.size() - 2);  // no CR LF after the host record
  ASSERT_TRUE(Analyze(log));
  EXPECT_EQ(Result().Total, 1);
  EXPECT_EQ(Result().Host.Names[1], "h");
}

TEST_F(AnalysisPassTest, NoIndexSurvivesFromAnEarlierPass) {
  ASSERT_TRUE(Analyze(Access("a", "2001/12/05 09:03:07", kFx, "http://x/", "h(1.2.3.4)")));
  // A log that starts without its page record: nothing may count into old entries.
  ASSERT_TRUE(Analyze("2#" + std::string(kFx) + "\r\n3#http://x/\r\n4#h(1.2.3.4)\r\n", 1));
  EXPECT_EQ(Result().Total, 1);
  EXPECT_EQ(Result().Page.Counts[1], 1);
  EXPECT_EQ(Result().Host.Counts[1], 1);
}

TEST_F(AnalysisPassTest, HostRefAndUrlGrowPastTheSixteenBitLimitSoEveryAccessCounts) {
  SetParam("SpecifyClass", false);
  const int distinct = kSixteenBitEntries + 1000;
  std::string log;
  for (int i = 0; i < distinct; ++i) {
    const std::string n = std::to_string(i);
    log += "1#(p)2001/12/05 09:03:07\t3#http://search.example/?q=" + n + "\t4#(2001:db8:" + n + "::1)\n";
  }
  log += "1#(p)2001/12/05 09:03:07\t3#http://search.example/?q=7\t4#(2001:db8:7::1)\n";
  ASSERT_TRUE(Analyze(log));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(Result().Total, distinct + 1);
  EXPECT_EQ(Result().Url.Count, distinct);
  EXPECT_EQ(Result().Host.Count, distinct);
  EXPECT_EQ(Result().Ref.Count, 1);  // the question is cut away
  // Sorted like any table: the one repeated name on top.
  EXPECT_EQ(Result().Url.Names[static_cast<size_t>(distinct)], "http://search.example/?q=7");
  EXPECT_EQ(Result().Url.Counts[static_cast<size_t>(distinct)], 2);
  EXPECT_EQ(ResultName(19, distinct), "2001:db8:7::1");
  EXPECT_EQ(ResultCount(18, distinct - 1), 1);
}

TEST_F(AnalysisPassTest, AgentAndPageGrowPastTheSixteenBitLimitToo) {
  SetParam("SpecifyPage", false);
  const int distinct = kSixteenBitEntries + 100;
  std::string log;
  for (int i = 0; i < distinct; ++i) {
    const std::string n = std::to_string(i);
    log += "1#(p" + n + ")2001/12/05 09:03:07\t2#agent/" + n + "\t4#h(1.2.3.4)\n";
  }
  log += "1#(p7)2001/12/05 09:03:07\t2#agent/7\t4#h(1.2.3.4)\n";
  ASSERT_TRUE(Analyze(log));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(Result().Total, distinct + 1);
  EXPECT_EQ(Result().Page.Count, distinct);
  EXPECT_EQ(Result().Agent.Count, distinct);
  EXPECT_EQ(ResultName(16, distinct), "agent/7");
  EXPECT_EQ(ResultCount(15, distinct), 2);
  EXPECT_EQ(ResultName(28, distinct), "p7");
}

TEST_F(AnalysisPassTest, BinaryGarbageNeverCrashes) {
  std::mt19937 rng(7);
  std::string bytes(200000, '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  SetParam("LogFile", dir.Write("bin.log", bytes));
  AnalyzeLog(0);  // may stop on a malformed page record; must not crash
  EXPECT_LE(Result().Total, 1);
}

TEST_F(AnalysisPassTest, ResetEmptiesEverythingButTheListTables) {
  ASSERT_TRUE(Analyze(Access("a", "2001/12/05 09:03:07", kFx, "http://x/", "h(1.2.3.4)")));
  ResetResult();
  const AnalysisResult& r = Result();
  EXPECT_EQ(r.Total, 0);
  EXPECT_EQ(r.Month[12], 0);
  EXPECT_EQ(r.OS.Count, 3);
  EXPECT_EQ(r.OS.Names[1], "Windows 98");
  EXPECT_EQ(r.Agent.Count + r.Host.Count + r.Ref.Count + r.Url.Count + r.Page.Count, 0);
  EXPECT_EQ(ResultCount(6), 3);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(GetResult(8)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(GetResult(12)));
  EXPECT_THROW(GetResult(1, 13), std::out_of_range);
  EXPECT_THROW(GetResult(15, 1), std::out_of_range);
}

TEST_F(AnalysisPassTest, APassIntoItsOwnResultReportsToItsControlAndLeavesTheSharedOneAlone) {
  std::string log;
  for (int i = 0; i < 100; ++i) log += Access("p", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)");
  SetParam("LogFile", dir.Write("access.log", Sjis(log)));
  RecordingReceiver receiver;
  AnalysisResult target;
  const PassOutcome outcome = RunPass(ReadPassRequest(0), target, PassControl{&receiver, nullptr});
  EXPECT_EQ(outcome.status, PassStatus::Completed);
  EXPECT_EQ(target.Total, 100);
  EXPECT_EQ(Result().Total, 0);
  ASSERT_FALSE(receiver.positions.empty());
  EXPECT_EQ(receiver.positions.back(), kProgressRange);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AnalysisPassTest, ARaisedCancelFlagEndsThePassAsCancelledWithoutAMessage) {
  SetParam("LogFile", dir.Write("access.log", Sjis(Access("p", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)"))));
  const std::atomic<bool> cancel{true};
  AnalysisResult target;
  EXPECT_EQ(RunPass(ReadPassRequest(0), target, PassControl{nullptr, &cancel}).status, PassStatus::Cancelled);
  EXPECT_EQ(target.Total, 0);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AnalysisPassTest, AnAdditionalPassIntoACopyKeepsTheRobotsAndTheZoneOfTheResult) {
  ASSERT_TRUE(Analyze(Access("p", "2001/12/05 09:03:07", kFx, "", "h(1.2.3.4)")));
  Result().RobotTotal = 7;
  Result().Robot.Append("Crawler", 7);
  Result().ServerTimeZone = "UTC+09:00";
  AnalysisResult copy = Result();
  ASSERT_EQ(RunPass(ReadPassRequest(1), copy, PassControl{}).status, PassStatus::Completed);
  EXPECT_EQ(copy.Total, 2);
  EXPECT_EQ(copy.RobotTotal, 7);
  ASSERT_EQ(copy.Robot.Count, 1);
  EXPECT_EQ(copy.Robot.Names[1], "Crawler");
  EXPECT_EQ(copy.Robot.Counts[1], 7);
  EXPECT_EQ(copy.ServerTimeZone, "UTC+09:00");
  EXPECT_EQ(Result().Total, 1);
}

}  // namespace
}  // namespace vorel::analysis
