// Analysing a web server's own log: the same counts as the record log of the
// same accesses, plain or compressed, with unreadable lines skipped.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <set>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/log_reader.h"
#include "analysis/result.h"
#include "analysis/server_texts.h"
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
    SetParam("TimeZone", "Asia/Tokyo");  // the zone the lines below are logged in
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
  ASSERT_TRUE(Analyze(server));
  EXPECT_EQ(Take(), fromRecords);
  EXPECT_EQ(LastServerLogCounts().lines, 400);
  EXPECT_EQ(LastServerLogCounts().pageViews, 400);
  EXPECT_EQ(LastServerLogCounts().unreadable, 0);

  WriteGzip(dir.File("access.log.2.gz"), ServerLog(visits));
  ASSERT_TRUE(Analyze(dir.File("access.log.2.gz")));
  EXPECT_EQ(Take(), fromRecords);

  WriteGzip(dir.File("records.log.gz"), RecordLog(visits));
  ASSERT_TRUE(Analyze(dir.File("records.log.gz")));
  EXPECT_EQ(Take(), fromRecords);
  EXPECT_EQ(LastServerLogCounts().lines, 0);
  EXPECT_TRUE(prompter.messages.empty());
}

// Past the texts a pass numbers, referrers and hosts are looked up by name,
// made ahead of their lines: a log with more distinct ones still counts as
// its records do.
TEST_F(ServerLogPassTest, MoreDistinctReferrersAndHostsThanAreNumberedCountAsTheirRecords) {
  std::vector<Visit> visits = RandomVisits(2 * kNumberedTexts);
  for (size_t i = 0; i < visits.size(); ++i) {
    // Every third visit comes back to an earlier referrer and host, numbered or not.
    const size_t n = i % 3 == 2 ? i / 2 : i;
    visits[i].referrer = "http://www.example.jp/link" + std::to_string(n) + ".html";
    visits[i].address = "10." + std::to_string(n >> 16) + "." + std::to_string((n >> 8) & 255) + "." +
                        std::to_string(n & 255);
  }
  ASSERT_TRUE(Analyze(dir.Write("records.log", RecordLog(visits))));
  const Snapshot fromRecords = Take();
  ASSERT_TRUE(Analyze(dir.Write("access.log", ServerLog(visits))));
  EXPECT_EQ(Take(), fromRecords);
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
  // A real time, but in the zone of the pass (Tokyo) it falls in the year 10000, which no stamp can show.
  log += "192.0.2.9 - - [31/Dec/9999:23:59:59 -1200] \"GET /late.html HTTP/1.1\" 200 1 \"-\" \"Mozilla/5.0\"\n";
  log += ServerLine(v, "GET /blog/?page=2 HTTP/1.1", 304) + "\r\n";     // counts, CR LF
  log += "1#(index)2026/10/10 13:55:36\n";                              // a record is no server line
  log += ServerLine(v, "GET /diary HTTP/1.1", 206);                     // counts, no final LF
  const std::string path = dir.Write("access.log", log);

  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(Result().Total, 3);
  // Eleven server lines, one of them unreadable, and two unreadable ones; the record line is read as one.
  EXPECT_EQ(LastServerLogCounts().lines, 13);
  EXPECT_EQ(LastServerLogCounts().pageViews, 3);
  EXPECT_EQ(LastServerLogCounts().unreadable, 3);
  EXPECT_EQ(LastServerLogCounts().recordLines, 1);
  // Four records a server line; the empty line, the record line and the
  // pieces of the unreadable lines between their TABs one each.
  EXPECT_EQ(LastServerLogCounts().records, 11 * 4 + 1 + 2 + 1 + 1);
  EXPECT_EQ(CurrentLineNo(), 15);
  // The three pages viewed, and "index" of the record line.
  ASSERT_EQ(Result().Page.Count, 4);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ServerLogPassTest, ProgressFollowsTheBytesReadFromPastCheckLineRecordsToTheEnd) {
  struct Receiver : ProgressReceiver {
    void aauStatusChange(int16_t piVal) override { positions.push_back(piVal); }
    void aauMessageChange(const std::string&) override {}
    std::vector<int> positions;
  } receiver;
  SetProgressReceiver(&receiver);
  SetParam("CheckLine", 200);
  // 50 lines stand for 200 records: not more than CheckLine, no progress.
  ASSERT_TRUE(Analyze(dir.Write("short.log", ServerLog(RandomVisits(50)))));
  EXPECT_TRUE(receiver.positions.empty());

  // Long enough for several chunks of the reader.
  const std::string log = ServerLog(RandomVisits(5000));
  for (const std::string& path : {dir.Write("access.log", log), dir.Write("access.log.gz", testing::CompressedWith("gzip", log))}) {
    receiver.positions.clear();
    ASSERT_TRUE(Analyze(path));
    // A position every 50 lines (200 records) after the first 50, and the
    // full bar at the end.
    ASSERT_EQ(receiver.positions.size(), (5000u - 50) / 50 + 1) << path;
    EXPECT_TRUE(std::is_sorted(receiver.positions.begin(), receiver.positions.end())) << path;
    EXPECT_GE(receiver.positions.front(), 0);
    EXPECT_EQ(receiver.positions.back(), kProgressRange);
  }
  // A plain file's bar moves with the lines, not only with the reader's chunks.
  receiver.positions.clear();
  ASSERT_TRUE(Analyze(dir.File("access.log")));
  std::set<int> distinct(receiver.positions.begin(), receiver.positions.end());
  EXPECT_GE(distinct.size(), 90u);
  SetProgressReceiver(nullptr);
}

TEST_F(ServerLogPassTest, EachLineIsJudgedOnItsOwn) {
  const std::vector<Visit> visits = RandomVisits(40);
  const std::string server = ServerLog(visits);
  ASSERT_TRUE(Analyze(dir.Write("plain.log", server)));
  const Snapshot plain = Take();
  struct Case {
    std::string name, before;
    int64_t unreadable;
  };
  const std::vector<Case> cases = {
      {"byte-order mark", "\xEF\xBB\xBF", 0},
      {"partial line", ServerLine(visits[0]).substr(ServerLine(visits[0]).find("HTTP/")) + "\n", 1},
      {"garbage", "<html><body>not a log</body></html>\n", 1},
      {"NUL line", std::string(300, '\0') + "\n", 1},
      {"over-long line", std::string(kMaxServerLineBytes + 10, 'x') + "\n", 1},
  };
  for (const Case& c : cases) {
    // First, in the middle and last, each line counts as what it is.
    const std::string half = server.substr(0, server.find('\n', server.size() / 2) + 1);
    std::string text = c.before + half + (c.name == "byte-order mark" ? "" : c.before) + server.substr(half.size());
    ASSERT_TRUE(Analyze(dir.Write("mixed.log", text))) << c.name;
    EXPECT_EQ(Take(), plain) << c.name;
    EXPECT_EQ(LastServerLogCounts().unreadable, 2 * c.unreadable) << c.name;
    EXPECT_EQ(LastServerLogCounts().pageViews, 40) << c.name;
  }
}

TEST_F(ServerLogPassTest, AFileMixingBothFormatsCountsBoth) {
  const std::vector<Visit> visits = RandomVisits(60);
  const std::vector<Visit> first(visits.begin(), visits.begin() + 30), second(visits.begin() + 30, visits.end());
  ASSERT_TRUE(Analyze(dir.Write("records.log", RecordLog(visits))));
  const Snapshot all = Take();
  for (const std::string& text : {RecordLog(first) + ServerLog(second), ServerLog(first) + RecordLog(second)}) {
    ASSERT_TRUE(Analyze(dir.Write("mixed.log", text)));
    EXPECT_EQ(Take(), all);
    EXPECT_EQ(LastServerLogCounts().pageViews, 30);
    EXPECT_EQ(LastServerLogCounts().recordLines, 30 * 4);
  }
}

// A layout the user named decides which lines are the server's; lines of
// records stay records, and a wrong layout stops the analysis before it reads.
TEST_F(ServerLogPassTest, ANamedLayoutDecidesWhichLinesAreTheServersAndRecordsStayRecords) {
  const std::vector<Visit> visits = RandomVisits(60);
  const std::vector<Visit> first(visits.begin(), visits.begin() + 30), second(visits.begin() + 30, visits.end());
  ASSERT_TRUE(Analyze(dir.Write("records.log", RecordLog(visits))));
  const Snapshot all = Take();
  // The stamp first, then the visitor: no layout found by itself.
  std::string stampFirst;
  for (const Visit& v : second) {
    const std::string line = ServerLine(v);
    const size_t open = line.find('['), close = line.find("] ");
    stampFirst += line.substr(open, close + 1 - open) + " " + line.substr(0, line.find(' ')) + line.substr(close + 1) + "\n";
  }
  const std::string path = dir.Write("mixed.log", RecordLog(first) + stampFirst);

  SetParam("LogFormat", "%t %h \"%r\" %>s %b \"%{Referer}i\" \"%{User-Agent}i\"");
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(Take(), all);
  EXPECT_EQ(LastServerLogCounts().pageViews, 30);
  EXPECT_EQ(LastServerLogCounts().recordLines, 30 * 4);
  EXPECT_EQ(LastServerLogCounts().unreadable, 0);

  SetParam("LogFormat", "");
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(LastServerLogCounts().pageViews, 0);
  EXPECT_EQ(LastServerLogCounts().unreadable, 30);
  EXPECT_TRUE(prompter.messages.empty());

  SetParam("LogFormat", "%h \"%r\" %>s");
  EXPECT_FALSE(Analyze(path));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].text.find("時刻"), std::string::npos) << prompter.messages[0].text;
}

TEST_F(ServerLogPassTest, OneServerLineIsEnoughAndAnEmptyCompressedLogIsTooShort) {
  // One line stands for four records: enough; an empty file is not.
  SetParam("LogFile", dir.Write("one.log", ServerLog(RandomVisits(1))));
  EXPECT_EQ(RunAnalysis(0), AnalysisOutcome::Counted);
  WriteGzip(dir.File("empty.gz"), "");
  SetParam("LogFile", dir.File("empty.gz"));
  EXPECT_EQ(RunAnalysis(0), AnalysisOutcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "ログファイルの内容がありません。\r\n" + dir.File("empty.gz"));
}

TEST_F(ServerLogPassTest, ACutCompressedLogCountsWhatCameBeforeTheCutAndSaysSo) {
  const std::string log = ServerLog(RandomVisits(3000));
  // bzip2 with its smallest blocks, so that half the file holds whole ones.
  for (const std::string tool : {"gzip", "bzip2 -1", "xz", "zstd"}) {
    prompter.messages.clear();
    const std::string packed = testing::CompressedWith(tool, log);
    ASSERT_TRUE(Analyze(dir.Write("whole", packed))) << tool;
    EXPECT_FALSE(LastLogEndedEarly());
    EXPECT_FALSE(WarnIfLogEndedEarly(prompter));
    ASSERT_TRUE(Analyze(dir.Write("cut", packed.substr(0, packed.size() / 2)))) << tool;
    EXPECT_TRUE(LastLogEndedEarly()) << tool;
    EXPECT_LT(LastServerLogCounts().pageViews, 3000) << tool;
    EXPECT_GT(LastServerLogCounts().pageViews, 0) << tool;
    EXPECT_EQ(Result().Total, LastServerLogCounts().pageViews) << tool;
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(WarnIfLogEndedEarly(prompter));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_NE(prompter.messages[0].text.find("途中で終わっています"), std::string::npos);
    EXPECT_NE(prompter.messages[0].text.find("\r\n" + dir.File("cut")), std::string::npos);
  }
}

// An agent, referrer or host spelt two ways (escaped or not, an IPv4 address
// mapped or not) is one entry, however the spellings alternate.
TEST_F(ServerLogPassTest, ATextSpeltTwoWaysIsOneEntry) {
  const Visit plain{2026, 10, 10, 13, 55, 36, "Bot/1.0 \xE6\x97\xA5", "http://x/\xE6\x97\xA5", "192.0.2.7", "a"};
  Visit other = plain;
  other.agent = "Bot%2F1.0 \\xE6\\x97\\xA5";
  other.referrer = "http://x/\\xE6\\x97\\xA5";
  other.address = "::ffff:192.0.2.7";
  std::string log;
  for (int i = 0; i < 3; ++i) log += ServerLine(plain) + "\n" + ServerLine(other) + "\n";
  ASSERT_TRUE(Analyze(dir.Write("access_log", log)));
  EXPECT_EQ(Result().Total, 6);
  for (const CategoryTable* table : {&Result().Agent, &Result().Url, &Result().Host, &Result().Page}) {
    ASSERT_EQ(table->Count, 1);
    EXPECT_EQ(table->Counts[1], 6);
  }
  EXPECT_EQ(Result().Agent.Names[1], "Bot/1.0 日");
}

// The default page selection "index" finds the site's top page; one page
// written raw, percent-encoded or \x-escaped is one entry.
TEST_F(ServerLogPassTest, ThePageFilterAndTheTextEncodingsWorkOnTheWholePass) {
  Visit v{2026, 10, 10, 13, 55, 36, "UA", "", "192.0.2.7", ""};
  const std::string log = ServerLine(v, "GET / HTTP/1.1") + "\n" + ServerLine(v, "GET /index.php?x=1 HTTP/1.1") +
                          "\n" + ServerLine(v, "GET /\xE6\x97\xA5\xE8\xA8\x98/ HTTP/1.1") + "\n" +
                          ServerLine(v, "GET /%E6%97%A5%E8%A8%98/ HTTP/1.1") + "\n" +
                          ServerLine(v, "GET /\\xE6\\x97\\xA5\\xE8\\xA8\\x98/ HTTP/1.1") + "\n";
  const std::string path = dir.Write("access_log", log);
  SetParam("SpecifyPage", true);
  SetParam("IgnorePage", false);
  SetParam("Page", "index");
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(Result().Total, 2);
  SetParam("Page", "日記/");
  ASSERT_TRUE(Analyze(path));
  EXPECT_EQ(Result().Total, 3);
  ASSERT_EQ(Result().Page.Count, 3);
  EXPECT_EQ(ResultName(28, 3), "/日記/");
  EXPECT_EQ(ResultCount(27, 3), 3);
}

}  // namespace
}  // namespace vorel::analysis
