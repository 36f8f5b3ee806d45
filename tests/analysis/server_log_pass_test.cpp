// Analysing a web server's own log: the same counts as the record log of the
// same accesses, plain or compressed, with unreadable lines skipped.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "analysis/log_format.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/result_snapshot.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using settings::SetParam;

struct Visit {
  int year, month, day, hour, minute, second;
  std::string agent, referrer, address, page;
};

const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string RecordLog(const std::vector<Visit>& visits) {
  std::string log;
  for (const Visit& v : visits) {
    log += "1#(" + v.page + ")" + std::to_string(v.year) + "/" + TwoDigits(v.month) + "/" + TwoDigits(v.day) + " " +
           TwoDigits(v.hour) + ":" + TwoDigits(v.minute) + ":" + TwoDigits(v.second) + "\r\n";
    log += "2#" + v.agent + "\r\n3#" + v.referrer + "\r\n4#(" + v.address + ")\r\n";
  }
  return log;
}

std::string ServerLine(const Visit& v, const std::string& request = "", int status = 200) {
  std::string line = v.address + " - - [" + TwoDigits(v.day) + "/" + kMonths[v.month - 1] + "/" +
                     std::to_string(v.year) + ":" + TwoDigits(v.hour) + ":" + TwoDigits(v.minute) + ":" +
                     TwoDigits(v.second) + " +0900] \"" +
                     (request.empty() ? "GET /" + v.page + ".html HTTP/1.1" : request) + "\" " +
                     std::to_string(status) + " 1234 \"" + (v.referrer.empty() ? "-" : v.referrer) + "\" \"" +
                     v.agent + "\"";
  return line;
}

std::string ServerLog(const std::vector<Visit>& visits) {
  std::string log;
  for (const Visit& v : visits) log += ServerLine(v) + "\n";
  return log;
}

std::vector<Visit> RandomVisits(int count) {
  std::mt19937 random(20261209);
  const std::vector<std::string> agents = {"Mozilla/5.0 (X11; Linux) Firefox/1.0",
                                           "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98)", "Wget/1.21", ""};
  const std::vector<std::string> referrers = {"", "http://www.example.jp/link.html", "http://search.example/?q=a",
                                              "http://www.example.jp:8080/Index.html#x"};
  const std::vector<std::string> addresses = {"192.0.2.7", "198.51.100.23", "203.0.113.200", "2001:db8::5"};
  std::vector<Visit> visits;
  for (int i = 0; i < count; ++i) {
    Visit v;
    v.year = 2025 + static_cast<int>(random() % 2);
    v.month = 1 + static_cast<int>(random() % 12);
    v.day = 1 + static_cast<int>(random() % 28);
    v.hour = static_cast<int>(random() % 24);
    v.minute = static_cast<int>(random() % 60);
    v.second = static_cast<int>(random() % 60);
    v.agent = agents[random() % agents.size()];
    v.referrer = referrers[random() % referrers.size()];
    v.address = addresses[random() % addresses.size()];
    v.page = "index";
    visits.push_back(v);
  }
  return visits;
}

void WriteGzip(const std::string& path, const std::string& bytes) {
  gzFile file = gzopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size())), static_cast<int>(bytes.size()));
  gzclose(file);
}

using Snapshot = testing::ResultSnapshot;
Snapshot Take() { return testing::TakeResultSnapshot(false); }

class ServerLogPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    SetParam("SpecifyDate", false);
    SetParam("SpecifyPage", false);
    dir.Write("vorel.dat", testing::Sjis("OS=Windows 98,Windows 98\r\nOS=Linux,Linux\r\n"
                                         "Browser=Firefox,Firefox\r\nBrowser=MSIE,Internet Explorer\r\n"
                                         "IgnoreIndex=index.html\r\n"));
    LoadClassListsFrom(dir.File("vorel.dat"));
    ResetResult();
  }
  bool Analyze(const std::string& path, int additional = 0) {
    SetParam("LogFile", path);
    return AnalyzeLog(additional);
  }

  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

TEST_F(ServerLogPassTest, TheSameAccessesCountTheSameInEitherFormatPlainOrCompressed) {
  std::vector<Visit> visits = RandomVisits(400);
  ASSERT_TRUE(Analyze(dir.Write("records.log", RecordLog(visits))));
  Snapshot fromRecords = Take();
  EXPECT_EQ(fromRecords.total, 400);

  const std::string server = dir.Write("access.log", ServerLog(visits));
  EXPECT_EQ(DetectLogFormat(server), LogFormat::Server);
  ASSERT_TRUE(Analyze(server));
  EXPECT_EQ(Take(), fromRecords);
  EXPECT_EQ(LastServerLogCounts().lines, 400);
  EXPECT_EQ(LastServerLogCounts().pageViews, 400);
  EXPECT_EQ(LastServerLogCounts().unreadable, 0);

  WriteGzip(dir.File("access.log.2.gz"), ServerLog(visits));
  ASSERT_TRUE(Analyze(dir.File("access.log.2.gz")));
  EXPECT_EQ(Take(), fromRecords);

  WriteGzip(dir.File("records.log.gz"), RecordLog(visits));
  EXPECT_EQ(DetectLogFormat(dir.File("records.log.gz")), LogFormat::Records);
  ASSERT_TRUE(Analyze(dir.File("records.log.gz")));
  EXPECT_EQ(Take(), fromRecords);
  EXPECT_EQ(LastServerLogCounts().lines, 0);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ServerLogPassTest, AServerLogAddsToARecordLogAndTheOtherWayRound) {
  std::vector<Visit> visits = RandomVisits(50);
  const std::string records = dir.Write("records.log", RecordLog(visits));
  const std::string server = dir.Write("access.log", ServerLog(visits));
  ASSERT_TRUE(Analyze(records));
  ASSERT_TRUE(Analyze(server, 1));
  Snapshot mixed = Take();
  ASSERT_TRUE(Analyze(server));
  ASSERT_TRUE(Analyze(records, 1));
  EXPECT_EQ(Take(), mixed);
  EXPECT_EQ(mixed.total, 100);
}

TEST_F(ServerLogPassTest, OnlyPageViewsCountAndUnreadableLinesAreSkippedAndCounted) {
  Visit v = RandomVisits(1)[0];
  std::string log = ServerLine(v) + "\n";                               // counts
  log += ServerLine(v, "GET /img/logo.png HTTP/1.1") + "\n";            // image
  log += ServerLine(v, "GET /style.css HTTP/1.1") + "\n";               // style sheet
  log += ServerLine(v, "POST /form.cgi HTTP/1.1") + "\n";               // form post
  log += ServerLine(v, "GET /index.html HTTP/1.1", 301) + "\n";         // redirect
  log += ServerLine(v, "GET /missing.html HTTP/1.1", 404) + "\n";       // error
  log += ServerLine(v, "GET /index.html HTTP/1.1", 500) + "\n";         // error
  log += ServerLine(v, "-", 400) + "\n";                                // malformed request
  log += "\n";                                                          // empty
  log += "this line is garbage\tand has a TAB\n";                       // unreadable
  log += std::string("\x85\x85\x41 binary \x01\x02", 14) + "\n";        // unreadable
  log += ServerLine(v, "GET /blog/?page=2 HTTP/1.1", 304) + "\r\n";     // counts, CR LF
  log += "1#(index)2026/10/10 13:55:36\n";                              // a record is no server line
  log += ServerLine(v, "GET /diary HTTP/1.1", 206);                     // counts, no final LF
  const std::string path = dir.Write("access.log", log);

  SetParam("CheckLine", 4);
  SetParam("LogFile", path);
  EXPECT_EQ(GetLogLineCount(), 14 * 4);
  AnalysisPreparation preparation = PrepareAnalysis();
  EXPECT_EQ(preparation.problem, LogProblem::None);
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(Result().Total, 3);
  EXPECT_EQ(LastServerLogCounts().lines, 13);
  EXPECT_EQ(LastServerLogCounts().pageViews, 3);
  EXPECT_EQ(LastServerLogCounts().unreadable, 3);
  EXPECT_EQ(CurrentLineNo(), 14);
  ASSERT_EQ(Result().Page.Count, 3);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ServerLogPassTest, ProgressAdvancesFourRecordsALineAndReachesTheEnd) {
  struct Receiver : ProgressReceiver {
    void aauStatusChange(int16_t piVal) override { last = piVal; }
    void aauMessageChange(const std::string&) override {}
    int last = 0;
  } receiver;
  SetProgressReceiver(&receiver);
  SetParam("CheckLine", 200);
  const std::string path = dir.Write("access.log", ServerLog(RandomVisits(500)));
  SetParam("LogFile", path);
  const int32_t records = GetLogLineCount();
  EXPECT_EQ(records, 2000);
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(receiver.last, records / 200);
  SetProgressReceiver(nullptr);
}

TEST_F(ServerLogPassTest, TooShortAServerLogIsRefusedLikeAnEmptyRecordLog) {
  // One line stands for four records: enough; an empty file is not.
  SetParam("LogFile", dir.Write("one.log", ServerLog(RandomVisits(1))));
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::None);
  WriteGzip(dir.File("empty.gz"), "");
  SetParam("LogFile", dir.File("empty.gz"));
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::TooFewRecords);
}

}  // namespace
}  // namespace vorel::analysis
