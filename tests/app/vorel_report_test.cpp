// vorel-report as a user runs it: command line, exit statuses, messages on
// standard error and the report files it leaves.
#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "app/report_process.h"
#include "support/test_files.h"

namespace vorel::testing {
namespace {

constexpr const char* kClassFile =
    "[vorel] 解析情報ファイル\r\n"
    "OS=Windows NT 5.1,Windows XP\r\n"
    "OS=Linux,Linux\r\n"
    "OS=Mac,Mac OS\r\n"
    "Browser=MSIE,Internet Explorer\r\n"
    "Browser=Firefox,Firefox\r\n";

constexpr const char* kIe = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";
constexpr const char* kFx = "Mozilla/5.0 (X11; Linux) Firefox/1.0";

std::string Access(const std::string& page, const std::string& stamp, const std::string& agent,
                   const std::string& ref, const std::string& host) {
  return "1#(" + page + ")" + stamp + "\r\n2#" + agent + "\r\n3#" + ref + "\r\n4#" + host + "\r\n";
}

// Three accesses in December 2001 (Sunday the 2nd, Wednesday the 5th, Sunday
// the 9th) and one on 30 November.
std::string SmallLog() {
  return Access("index", "2001/12/02 09:03:07", kIe, "http://www.example.jp/", "host.example.ne.jp(10.0.0.1)") +
         Access("index", "2001/12/05 23:59:00", kFx, "http://search.example.com/?q=vorel", "(192.168.1.20)") +
         Access("diary", "2001/12/09 00:10:00", kIe, "http://www.example.jp/", "host.example.ne.jp(10.0.0.1)") +
         Access("index", "2001/11/30 12:00:00", kIe, "http://www.example.jp/", "other.example.com(1.2.3.4)");
}

// What the small log gives for December with every page.
const char* kDecemberReport =
    "解析日付: 2001/12/1 ～ 2001/12/31\r\n"
    "解析条件: 指定なし\r\n"
    "\r\n"
    "アクセス合計: 3\r\n"
    "\r\n月別\r\n12月:   3\r\n"
    "\r\n週別\r\n第 49週:   2\r\n第 50週:   1\r\n"
    "\r\n曜日別\r\n日:   2\r\n水:   1\r\n"
    "\r\n日付別\r\n 2日:   1\r\n 5日:   1\r\n 9日:   1\r\n"
    "\r\n時間別\r\n 0時:   1\r\n 9時:   1\r\n23時:   1\r\n"
    "\r\nＯＳ別\r\n   2: Windows XP\r\n   1: Linux\r\n"
    "\r\nブラウザ別\r\n   2: Internet Explorer\r\n   1: Firefox\r\n"
    "\r\nエージェント別 (2)\r\n"
    "   2: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\r\n"
    "   1: Mozilla/5.0 (X11; Linux) Firefox/1.0\r\n"
    "\r\nホスト名別 (2)\r\n   2: *.example.ne.jp\r\n   1: 192.168.1.*\r\n"
    "\r\n前画面別 (2)\r\n   2: http://www.example.jp/\r\n   1: http://search.example.com/\r\n"
    "\r\nページ別 (2)\r\n   3: index\r\n   1: diary\r\n";

class VorelReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classes = work.Write("classes.dat", Sjis(kClassFile));
    settings = work.Write("settings.ini", "[vorel]\r\n");
    log = work.Write("access.log", Sjis(SmallLog()));
  }

  // The built program with the test's settings and classification file.
  ProcessResult Run(std::vector<std::string> args, bool terminal = false,
                    const std::optional<std::string>& standardInput = {}) {
    args.insert(args.begin(), {"--settings", settings, "--classes", classes});
    return RunProgram(VOREL_REPORT_EXE, args, work.path(), terminal, standardInput);
  }
  // The program as installed in a folder of its own, with no options added.
  ProcessResult RunInstalled(const std::vector<std::string>& args) {
    const std::string exe = program.File("vorel-report");
    if (!std::filesystem::exists(exe)) std::filesystem::copy_file(VOREL_REPORT_EXE, exe);
    return RunProgram(exe, args, work.path());
  }

  TempDir work;
  TempDir program;
  std::string classes, settings, log;
};

// --- command line -------------------------------------------------------

TEST_F(VorelReportTest, UsageErrorsExitWithTwoAndWriteNothing) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {log},
      {"-o", "r.txt"},
      {log, "-o"},
      {"--bogus", log, "-o", "r.txt"},
      {log, "-o", "r.txt", "--output", "s.txt"},
      {"--from", "2001/2/30", log, "-o", "r.txt"},
      {"--to", "yesterday", log, "-o", "r.txt"},
      {"--all-dates", "--from", "2001/12/1", log, "-o", "r.txt"},
      {"--all-pages", "--page", "index", log, "-o", "r.txt"},
      {"--robots", "some", log, "-o", "r.txt"},
  };
  for (const auto& args : wrong) {
    ProcessResult r = RunProgram(VOREL_REPORT_EXE, args, work.path());
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_NE(r.err.find("使い方: vorel-report"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
  EXPECT_FALSE(std::filesystem::exists(work.File("s.txt")));
}

TEST_F(VorelReportTest, MissingSettingsFileNamedOnTheCommandLineIsAUsageError) {
  ProcessResult r = RunProgram(VOREL_REPORT_EXE, {"--settings", work.File("none.ini"), log, "-o", "r.txt"},
                               work.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(work.File("none.ini")), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
}

TEST_F(VorelReportTest, HelpAndVersionGoToStandardOutput) {
  for (const char* flag : {"-h", "--help"}) {
    ProcessResult r = RunProgram(VOREL_REPORT_EXE, {flag}, work.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("使い方: vorel-report"), std::string::npos);
    EXPECT_NE(r.out.find("--all-pages"), std::string::npos);
    EXPECT_TRUE(r.err.empty());
  }
  ProcessResult r = RunProgram(VOREL_REPORT_EXE, {"--version"}, work.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("vorel-report ", 0), 0u) << r.out;
}

// --- reports --------------------------------------------------------------

TEST_F(VorelReportTest, WritesTheTextReportOfOneLog) {
  ProcessResult r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", log, "-o", "december.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;  // no terminal: no progress bar
  EXPECT_EQ(ReadFile(work.File("december.txt")), Sjis(kDecemberReport));
}

TEST_F(VorelReportTest, TheOutputNameChoosesTheFormat) {
  ProcessResult r = Run({"--all-dates", "--all-pages", log, "-o", "r.CSV"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(work.File("r.CSV")).rfind(Sjis("\"解析日付\",\"指定なし\"\r\n\"解析条件\",\"指定なし\"\r\n\r\n"
                                                    "\"アクセス合計\",4\r\n"),
                                               0),
            0u);

  std::filesystem::create_directory(work.File("site"));
  r = Run({"--all-dates", "--all-pages", log, "--output=site/index.Html"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = FromSjis(ReadFile(work.File("site/index.Html")));
  EXPECT_EQ(page.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
  EXPECT_NE(page.find("\tindex(3)<br><img src=\"bar.gif\" width=\"500\" height=\"12\" alt=\"Bar\"><br>\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(work.File("site/bar.gif")).size(), 92u);
  EXPECT_FALSE(std::filesystem::exists(work.File("bar.gif")));

  r = Run({"--all-dates", "--all-pages", log, "-o", "r.log"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(work.File("r.log")).rfind(Sjis("解析日付: 指定なし\r\n"), 0), 0u);
}

TEST_F(VorelReportTest, FurtherLogsAreAddedOnTop) {
  const std::string again = work.Write("again.log", Sjis(SmallLog()));
  ProcessResult r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", log, again, "-o", "r.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string csv = FromSjis(ReadFile(work.File("r.csv")));
  EXPECT_NE(csv.find("\"アクセス合計\",6\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"ＯＳ別\"\r\n\"Windows XP\",4\r\n\"Linux\",2\r\n\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"エージェント別\",2\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\"ページ別\",2\r\n\"index\",6\r\n\"diary\",2\r\n"), std::string::npos) << csv;
}

TEST_F(VorelReportTest, OptionsOverrideTheSettingsFile) {
  settings = work.Write("settings.ini", Sjis("[vorel]\r\nPage=diary\r\nSpecifyDate=False\r\nSpecifyPage=True\r\n"));
  ProcessResult r = Run({log, "-o", "diary.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(FromSjis(ReadFile(work.File("diary.txt"))).find("解析条件: (diary)\r\n\r\nアクセス合計: 1\r\n"),
            std::string::npos);

  r = Run({"--page", "index", "--from", "2001/12/1", "--to", "2001/12/31", log, "-o", "index.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(FromSjis(ReadFile(work.File("index.txt")))
                .find("解析日付: 2001/12/1 ～ 2001/12/31\r\n解析条件: (index)\r\n\r\nアクセス合計: 2\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(settings), Sjis("[vorel]\r\nPage=diary\r\nSpecifyDate=False\r\nSpecifyPage=True\r\n"));
}

TEST_F(VorelReportTest, ReadsVorelIniAndVorelDatBesideTheProgram) {
  program.Write("vorel.dat", Sjis(kClassFile));
  program.Write("vorel.ini", Sjis("[vorel]\r\nSpecifyDate=True\r\nStartDate=2001/12/1\r\nEndDate=2001/12/31\r\n"
                                  "SpecifyPage=False\r\n"));
  ProcessResult r = RunInstalled({log, "-o", "r.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(work.File("r.txt")), Sjis(kDecemberReport));
}

TEST_F(VorelReportTest, WithoutVorelIniTheDefaultsApply) {
  program.Write("vorel.dat", Sjis(kClassFile));
  // The default period is the current month and the default page "index".
  ProcessResult r = RunInstalled({"--from", "2001/12/1", "--to", "2001/12/31", log, "-o", "r.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(FromSjis(ReadFile(work.File("r.txt"))).find("解析条件: (index)\r\n\r\nアクセス合計: 2\r\n"),
            std::string::npos);
}

TEST_F(VorelReportTest, MissingClassificationFileIsReportedAndTheRunGoesOn) {
  // Named on the command line, a missing file is a mistake of the command line.
  classes = work.File("missing.dat");
  ProcessResult r = Run({"--all-dates", "--all-pages", log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("解析情報ファイルが見つかりません。\n" + classes), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));

  // Without vorel.dat beside the program, the desktop program's message, and the run goes on.
  r = RunInstalled({"--all-dates", "--all-pages", log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("解析情報ファイルの読み込みに失敗しました。\n" + program.File("vorel.dat")), std::string::npos)
      << r.err;
  const std::string text = FromSjis(ReadFile(work.File("r.txt")));
  EXPECT_NE(text.find("\r\nＯＳ別\r\n\r\nブラウザ別\r\n\r\nエージェント別 (2)\r\n"), std::string::npos) << text;
}

TEST_F(VorelReportTest, AnExistingReportIsReplaced) {
  work.Write("r.txt", std::string(100000, 'x'));
  ProcessResult r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", log, "-o", "r.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(work.File("r.txt")), Sjis(kDecemberReport));
}

// --- nothing counted ------------------------------------------------------

TEST_F(VorelReportTest, NothingCountedExitsWithOneAndWritesNoReport) {
  ProcessResult r = Run({"--from", "2002/1/1", "--to", "2002/1/31", log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("有効なデータがありませんでした。"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Ver0.20"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));

  // A page given in the old way, with its bracket, gets the hint.
  r = Run({"--all-dates", "--page", "index)", log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("有効なデータがありませんでした。\n（解析ページの指定方法が Ver0.20 から変更されています）"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
}

TEST_F(VorelReportTest, ALogThatCountsNothingEmptiesTheResultBeforeTheNext) {
  const std::string november = work.Write(
      "november.log", Sjis(Access("index", "2001/11/30 12:00:00", kIe, "http://www.example.jp/", "h(1.2.3.4)")));
  // Counting nothing on its own: the warning, and the empty result goes on to the next log.
  ProcessResult r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", november, log, "-o", "r.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("確認: 有効なデータがありませんでした。"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(work.File("r.txt")), Sjis(kDecemberReport));

  // Added on top of a result, a log outside the dates only raises its page.
  r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", log, november, "-o", "r.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.err.empty()) << r.err;
  const std::string text = FromSjis(ReadFile(work.File("r.txt")));
  EXPECT_NE(text.find("アクセス合計: 3\r\n"), std::string::npos);
  EXPECT_NE(text.find("ページ別 (2)\r\n   4: index\r\n   1: diary\r\n"), std::string::npos) << text;

  // Nothing in either log: exit status 1 and no report.
  std::filesystem::remove(work.File("r.txt"));
  r = Run({"--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", november, november, "-o", "r.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
}

// --- failures ---------------------------------------------------------------

TEST_F(VorelReportTest, AnalysisErrorsExitWithThreeAndWriteNoReport) {
  const std::string three = work.Write("three.log", Sjis("1#(index)2001/12/02 09:03:07\r\n2#x\r\n3#\r\n"));
  const std::string broken = work.Write("broken.log", Sjis(SmallLog() + "1#(index 2001/12/02 09:03:07\r\n2#x\r\n"));
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--all-dates", "--all-pages", work.File("none.log"), "-o", "r.txt"},
       "エラー: ログファイルが見つかりません。\n" + work.File("none.log")},
      {{"--all-dates", "--all-pages", three, "-o", "r.txt"}, "エラー: ログファイルの内容がありません。\n" + three},
      {{"--all-dates", "--page", "", log, "-o", "r.txt"}, "エラー: 解析するページを指定してください。"},
      {{"--all-dates", "--all-pages", broken, "-o", "r.txt"}, "解析エラー: 17行目でエラーが発生しました\n( "},
      // The first log is fine; the second one's error still ends the command.
      {{"--all-dates", "--all-pages", log, work.File("none.log"), "-o", "r.txt"},
       "エラー: ログファイルが見つかりません。\n" + work.File("none.log")},
  };
  for (const Case& c : cases) {
    ProcessResult r = Run(c.args);
    EXPECT_EQ(r.status, 3) << ::testing::PrintToString(c.args);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(work.File("r.txt")));
  }
}

TEST_F(VorelReportTest, WriteErrorsExitWithThreeAndLeaveNothingBehind) {
  ProcessResult r = Run({"--all-dates", "--all-pages", log, "-o", "missing/r.txt"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("エラー: ファイルの書き込みに失敗しました。\nmissing/r.txt"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("missing")));

  // A folder in the way of the page: the image that came along is taken back.
  std::filesystem::create_directories(work.File("site/index.html"));
  r = Run({"--all-dates", "--all-pages", log, "-o", "site/index.html"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("ファイルの書き込みに失敗しました。\nsite/index.html"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("site/bar.gif")));
  EXPECT_TRUE(std::filesystem::is_empty(work.File("site/index.html")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.File("site")), {}), 1);
}

// --- progress ---------------------------------------------------------------

TEST_F(VorelReportTest, ShowsAndClearsAProgressBarOnATerminalOnly) {
  std::string big;
  for (int i = 0; i < 100; ++i)
    big += Access("index", "2001/12/02 09:03:07", kIe, "http://www.example.jp/", "host.example.ne.jp(10.0.0.1)");
  const std::string bigLog = work.Write("big.log", Sjis(big));  // 400 records, more than CheckLine (200)

  ProcessResult r = Run({"--all-dates", "--all-pages", bigLog, "-o", "r.txt"}, true);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("big.log ["), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("] 100%"), std::string::npos) << r.err;
  // The bar is wiped at the end: carriage return, blanks over the whole bar, carriage return.
  ASSERT_GE(r.err.size(), 2u);
  EXPECT_EQ(r.err.back(), '\r');
  const size_t start = r.err.rfind('\r', r.err.size() - 2);
  ASSERT_NE(start, std::string::npos);
  const std::string wipe = r.err.substr(start + 1, r.err.size() - start - 2);
  EXPECT_GE(wipe.size(), std::string("big.log [").size() + 30 + std::string("] 100%").size());
  EXPECT_EQ(wipe.find_first_not_of(' '), std::string::npos);

  r = Run({"-q", "--all-dates", "--all-pages", bigLog, "-o", "r.txt"}, true);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.err.empty()) << r.err;

  // A small log shows no bar either.
  r = Run({"--all-dates", "--all-pages", log, "-o", "r.txt"}, true);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.err.empty()) << r.err;

  // A stream of unknown length: no share, only that it is being read.
  r = Run({"--all-dates", "--all-pages", "-", "-o", "r.txt"}, true, Sjis(big));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("stdin 読み込み中"), std::string::npos) << r.err;
}

// --- web server logs --------------------------------------------------------

// The small log's accesses as a web server logs them, with the requests for
// images and errors that are no page views, and a line that is not a log line.
std::string SmallServerLog() {
  auto line = [](const std::string& host, const std::string& time, const std::string& request, int status,
                 const std::string& ref, const std::string& agent) {
    return host + " - - [" + time + " +0900] \"" + request + "\" " + std::to_string(status) + " 2326 \"" + ref +
           "\" \"" + agent + "\"\n";
  };
  return line("host.example.ne.jp", "02/Dec/2001:09:03:07", "GET /index.html HTTP/1.1", 200, "http://www.example.jp/", kIe) +
         line("host.example.ne.jp", "02/Dec/2001:09:03:08", "GET /logo.png HTTP/1.1", 200, "-", kIe) +
         line("192.168.1.20", "05/Dec/2001:23:59:00", "GET /index.html?from=q HTTP/1.1", 304,
              "http://search.example.com/?q=vorel", kFx) +
         "a line that no server wrote\n" +
         line("10.0.0.1", "06/Dec/2001:10:00:00", "GET /nothing.html HTTP/1.1", 404, "-", kFx) +
         line("host.example.ne.jp", "09/Dec/2001:00:10:00", "GET /diary.html HTTP/1.1", 200, "http://www.example.jp/", kIe) +
         line("other.example.com", "30/Nov/2001:12:00:00", "GET /index.html HTTP/1.1", 200, "http://www.example.jp/", kIe);
}

TEST_F(VorelReportTest, AServerLogPlainOrCompressedGivesTheReportOfTheSameAccesses) {
  const std::string server = work.Write("access_log", SmallServerLog());
  std::string expected = kDecemberReport;
  expected.replace(expected.find("\r\nページ別"), std::string::npos,
                   "\r\nページ別 (2)\r\n   3: /index.html\r\n   1: /diary.html\r\n");
  // Read in the zone it was written in; the report says so after its conditions.
  expected.insert(expected.find("\r\n\r\n"), "\r\n時間帯: Asia/Tokyo");

  ProcessResult r = Run({"--tz", "Asia/Tokyo", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", server, "-o", "server.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FromSjis(ReadFile(work.File("server.txt"))), expected);
  EXPECT_NE(r.err.find("access_log: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" 7 "), std::string::npos) << r.err;  // lines
  EXPECT_NE(r.err.find(" 4 "), std::string::npos) << r.err;  // page views
  EXPECT_NE(r.err.find(" 1 "), std::string::npos) << r.err;  // unreadable

  ProcessResult quiet = Run({"-q", "--all-dates", "--all-pages", server, "-o", "quiet.txt"});
  EXPECT_EQ(quiet.status, 0);
  EXPECT_TRUE(quiet.err.empty()) << quiet.err;

  const std::string gzip = work.File("access_log.1.gz");
  gzFile file = gzopen(gzip.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  const std::string bytes = SmallServerLog();
  gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(file);
  ProcessResult z = Run({"-q", "--tz", "Asia/Tokyo", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", gzip, "-o", "gzip.txt"});
  EXPECT_EQ(z.status, 0) << z.err;
  EXPECT_EQ(FromSjis(ReadFile(work.File("gzip.txt"))), expected);
}

// The same accesses in a layout of the user's own: the stamp first, the
// visitor behind a proxy, the agent before the referrer.
TEST_F(VorelReportTest, ALogFormatNamedOnTheCommandLineReadsThatLayout) {
  const std::string format =
      "log_format proxied '[$time_local] $http_x_forwarded_for $remote_addr \"$request\" $status '\n"
      "                   '\"$http_user_agent\" \"$http_referer\" $request_time';";
  auto line = [](const std::string& visitor, const std::string& time, const std::string& request, int status,
                 const std::string& ref, const std::string& agent) {
    return "[" + time + " +0900] " + visitor + ",10.9.9.9 10.0.0.254 \"" + request + "\" " +
           std::to_string(status) + " \"" + agent + "\" \"" + ref + "\" 0.003\n";
  };
  const std::string log =
      work.Write("proxied.log",
                 line("host.example.ne.jp", "02/Dec/2001:09:03:07", "GET /index.html HTTP/1.1", 200, "http://www.example.jp/", kIe) +
                     line("192.168.1.20", "05/Dec/2001:23:59:00", "GET /index.html?from=q HTTP/1.1", 304,
                          "http://search.example.com/?q=vorel", kFx) +
                     line("host.example.ne.jp", "09/Dec/2001:00:10:00", "GET /diary.html HTTP/1.1", 200, "http://www.example.jp/", kIe) +
                     line("other.example.com", "30/Nov/2001:12:00:00", "GET /index.html HTTP/1.1", 200, "http://www.example.jp/", kIe));
  std::string expected = kDecemberReport;
  expected.replace(expected.find("\r\nページ別"), std::string::npos,
                   "\r\nページ別 (2)\r\n   3: /index.html\r\n   1: /diary.html\r\n");
  expected.insert(expected.find("\r\n\r\n"), "\r\n時間帯: Asia/Tokyo");

  ProcessResult r = Run({"-q", "--tz", "Asia/Tokyo", "--log-format", format, "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", log,
                         "-o", "proxied.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FromSjis(ReadFile(work.File("proxied.txt"))), expected);

  // Found by itself, the layout is no server log the analysis knows.
  ProcessResult guessed = Run({"-q", "--all-dates", "--all-pages", log, "-o", "guessed.txt"});
  EXPECT_NE(guessed.status, 0);

  ProcessResult wrong = Run({"--log-format", "%h %l %u \"%r\" %>s", log, "-o", "wrong.txt"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find("時刻"), std::string::npos) << wrong.err;
  EXPECT_FALSE(std::filesystem::exists(work.File("wrong.txt")));
}

TEST_F(VorelReportTest, RobotsAreSetApartFromTheRecordLogOnlyWhenAskedAndFromTheServerLogUnlessCounted) {
  classes = work.Write("classes.dat", Sjis(std::string(kClassFile) + "Robot=Googlebot,Google\r\n"));
  const std::string robot = "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)";
  const std::string records =
      work.Write("records.log", SmallLog() + Access("index", "2001/12/09 00:20:00", robot, "", "(66.249.66.1)"));
  const std::string server = work.Write(
      "access_log", "66.249.66.1 - - [09/Dec/2001:00:20:00 +0900] \"GET /index.html HTTP/1.1\" 200 5 \"-\" \"" +
                        robot + "\"\n192.0.2.7 - - [09/Dec/2001:00:30:00 +0900] \"GET /index.html HTTP/1.1\" 200 5 "
                                "\"-\" \"" + kFx + "\"\n");
  struct Case {
    std::string log;
    std::vector<std::string> options;
    bool apart;
  };
  for (const Case& c : {Case{records, {}, false}, Case{records, {"--robots", "apart"}, true},
                        Case{server, {}, true}, Case{server, {"--robots", "count"}, false}}) {
    std::vector<std::string> args = {"-q", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {c.log, "-o", "robots.txt"});
    ProcessResult r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string report = FromSjis(ReadFile(work.File("robots.txt")));
    SCOPED_TRACE(report);
    const bool hasSection = report.ends_with("\r\nロボット別\r\n   1: Google\r\n");
    EXPECT_EQ(hasSection, c.apart);
    EXPECT_EQ(report.find("\r\nロボット: 1\r\n") != std::string::npos, c.apart);
    EXPECT_EQ(report.find("Googlebot") == std::string::npos, c.apart);
  }
}

// --- streams, compressed logs, and lines of every kind ----------------------

TEST_F(VorelReportTest, StandardInputAndPipesAreReadInOnePass) {
  // "/dev/fd/0" is what a process substitution names: a pipe.
  for (const std::string name : {"-", "/dev/fd/0"}) {
    ProcessResult r = Run({"-q", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", name, "-o", "r.txt"}, false,
                          Sjis(SmallLog()));
    EXPECT_EQ(r.status, 0) << name << r.err;
    EXPECT_EQ(FromSjis(ReadFile(work.File("r.txt"))), kDecemberReport) << name;
  }
}

TEST_F(VorelReportTest, AFifoIsReadOnceAsAStream) {
  const std::string fifo = work.File("access.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The writer opens the FIFO once: a second opening by the program would
  // wait for a writer forever.
  std::thread writer([&] {
    std::ofstream(fifo, std::ios::binary) << Sjis(SmallLog());
  });
  ProcessResult r = Run({"-q", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages", fifo, "-o", "r.txt"});
  writer.join();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FromSjis(ReadFile(work.File("r.txt"))), kDecemberReport);
}

TEST_F(VorelReportTest, ACutCompressedLogGivesItsReportAndAWarningEvenWhenQuiet) {
  // Enough accesses that half of every compressed form holds whole blocks.
  std::string text;
  for (int i = 0; i < 6000; ++i)
    text += Access("index", "2001/12/02 09:03:07", kIe, "http://www.example.jp/" + std::to_string(i),
                   "host.example.ne.jp(10.0.0.1)");
  for (const auto& [tool, name] : {std::pair{"gzip", "cut.log.gz"}, std::pair{"bzip2 -1", "cut.log.bz2"},
                                   std::pair{"xz", "cut.log.xz"}, std::pair{"zstd", "cut.log.zst"}}) {
    const std::string packed = CompressedWith(tool, Sjis(text));
    const std::string cut = work.Write(name, packed.substr(0, packed.size() / 2));
    std::filesystem::remove(work.File("r.txt"));
    ProcessResult r = Run({"-q", "--all-dates", "--all-pages", cut, "-o", "r.txt"});
    EXPECT_EQ(r.status, 0) << tool << r.err;
    EXPECT_NE(r.err.find("途中で終わっています"), std::string::npos) << tool << r.err;
    EXPECT_NE(r.err.find("\n" + cut), std::string::npos) << tool << r.err;
    const std::string report = FromSjis(ReadFile(work.File("r.txt")));
    EXPECT_NE(report.find("アクセス合計: "), std::string::npos) << tool;
    EXPECT_EQ(report.find("アクセス合計: 6000\r\n"), std::string::npos) << tool;

    // The whole file: no warning.
    r = Run({"-q", "--all-dates", "--all-pages", work.Write(name, packed), "-o", "r.txt"});
    EXPECT_EQ(r.status, 0) << tool;
    EXPECT_TRUE(r.err.empty()) << tool << r.err;
    EXPECT_NE(FromSjis(ReadFile(work.File("r.txt"))).find("アクセス合計: 6000\r\n"), std::string::npos) << tool;
  }
}

TEST_F(VorelReportTest, AByteOrderMarkAGarbageFirstLineAndAMixedFileLoseNoAccess) {
  struct Case {
    std::string name, text, counts;
  };
  const std::string server = SmallServerLog();
  const std::string half = server.substr(0, server.find("a line that"));
  const std::vector<Case> cases = {
      {"bom.log", "\xEF\xBB\xBF" + server, "サーバーのログ 7 行、ページビュー 4 行、読み取れない行 1 行"},
      {"garbage.log", "/Dec/2001:09:03:07 +0900] \"GET / HTTP/1.1\" 200\n" + server,
       "サーバーのログ 8 行、ページビュー 4 行、読み取れない行 2 行"},
      {"nul.log", std::string(40, '\0') + "\n" + server, "サーバーのログ 8 行、ページビュー 4 行、読み取れない行 2 行"},
      // The first two accesses as records, the rest as a server wrote them.
      {"mixed.log",
       Sjis(Access("index", "2001/12/02 09:03:07", kIe, "http://www.example.jp/", "host.example.ne.jp(10.0.0.1)") +
            Access("index", "2001/12/05 23:59:00", kFx, "http://search.example.com/?q=vorel", "(192.168.1.20)")) +
           server.substr(half.size()),
       "記録の行 8 行、サーバーのログ 4 行、ページビュー 2 行、読み取れない行 1 行"},
  };
  std::string expected = kDecemberReport;
  expected.replace(expected.find("\r\nページ別"), std::string::npos,
                   "\r\nページ別 (2)\r\n   3: /index.html\r\n   1: /diary.html\r\n");
  // The server lines are written at +0900 and read in that zone, so they count as the records do.
  expected.insert(expected.find("\r\n\r\n"), "\r\n時間帯: Asia/Tokyo");
  for (const Case& c : cases) {
    ProcessResult r = Run({"--tz", "Asia/Tokyo", "--from", "2001/12/1", "--to", "2001/12/31", "--all-pages",
                           work.Write(c.name, c.text), "-o", "r.txt"});
    EXPECT_EQ(r.status, 0) << c.name << r.err;
    EXPECT_NE(r.err.find(c.name + ": " + c.counts), std::string::npos) << c.name << r.err;
    std::string report = FromSjis(ReadFile(work.File("r.txt")));
    if (c.name == "mixed.log") {
      // Its records name the page "index", its server lines "/index.html".
      EXPECT_NE(report.find("アクセス合計: 3\r\n"), std::string::npos) << report;
    } else {
      EXPECT_EQ(report, expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace vorel::testing

namespace vorel::testing {
namespace {

// A UTC server's log read in Tokyo: nine hours later, across the year's end;
// "--tz log" keeps the times as written; a zone the database lacks stops the run.
TEST_F(VorelReportTest, TzChoosesTheZoneOfAServerLogsTimes) {
  const std::string server = work.Write(
      "server.log",
      "192.0.2.7 - - [31/Dec/2026:14:59:59 +0000] \"GET /diary.html HTTP/1.1\" 200 10 \"-\" \"UA\"\n"
      "192.0.2.7 - - [31/Dec/2026:15:00:00 +0000] \"GET /diary.html HTTP/1.1\" 200 10 \"-\" \"UA\"\n");
  struct Row {
    std::vector<std::string> zone;  // the options that choose it
    std::vector<std::string> lines;  // lines the report must hold, each block whole
  };
  const Row rows[] = {
      {{"--tz", "Asia/Tokyo"},
       {"解析条件: 指定なし\r\n時間帯: Asia/Tokyo\r\n", "\r\n月別\r\n 1月:   1\r\n12月:   1\r\n",
        "\r\n時間別\r\n 0時:   1\r\n23時:   1\r\n"}},
      {{"--tz=log"},
       {"解析条件: 指定なし\r\n時間帯: ログの時刻のまま\r\n", "\r\n月別\r\n12月:   2\r\n",
        "\r\n時間別\r\n14時:   1\r\n15時:   1\r\n"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = row.zone;
    args.insert(args.end(), {"--all-dates", "--all-pages", "-q", server, "-o", "r.txt"});
    ProcessResult r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string report = FromSjis(ReadFile(work.File("r.txt")));
    for (const std::string& line : row.lines) EXPECT_NE(report.find(line), std::string::npos) << report;
  }

  // An unknown zone, on the command line or in the settings file: no analysis, no report.
  for (const char* settingsText : {"[vorel]\r\n", "[vorel]\r\nTimeZone=Asia/Tokio\r\n"}) {
    work.Write("settings.ini", settingsText);
    std::vector<std::string> args = {"--all-dates", "--all-pages", server, "-o", "unknown.txt"};
    if (std::string(settingsText).find("Tokio") == std::string::npos) args.insert(args.begin(), {"--tz", "Asia/Tokio"});
    ProcessResult r = Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Asia/Tokio"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(work.File("unknown.txt")));
  }
}

}  // namespace
}  // namespace vorel::testing
