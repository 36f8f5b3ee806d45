// Adding logs to a history: never twice (the same log, a grown one, rotated
// and compressed copies), one transaction per log (an interrupted or failed
// addition leaves the file as it was), readers beside a writer.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "history/history_adder.h"
#include "history/history_file.h"
#include "history/page_view_reader.h"
#include "support/history_logs.h"
#include "support/test_files.h"

namespace vorel::history {
namespace {

using testing::FileDigest;
using testing::RecordLogLines;
using testing::ServerLogLines;

class HistoryAdderTest : public ::testing::Test {
 protected:
  // Adds and expects success; returns {added, already had}.
  std::pair<int64_t, int64_t> Add(const std::string& log) {
    const AddOutcome outcome = AddLogToHistory(history, log);
    EXPECT_TRUE(outcome.ok) << outcome.error;
    return {outcome.added, outcome.alreadyHad};
  }
  int64_t Count() { return CountPageViews(history); }

  testing::TempDir dir;
  std::string history = dir.File("access.history");
};

TEST_F(HistoryAdderTest, ARotatedLogAddsOnlyWhatIsNewInItPlainRenamedOrCompressed) {
  // Day 1: the live log holds 300 lines.
  const std::string live = dir.Write("access.log", ServerLogLines(0, 300));
  EXPECT_EQ(Add(live), std::make_pair(int64_t{300}, int64_t{0}));
  EXPECT_EQ(Add(live), std::make_pair(int64_t{0}, int64_t{300}));
  // It grew by 200 lines before the server rotated it to access.log.1.
  std::filesystem::rename(live, dir.File("access.log.1"));
  dir.Write("access.log.1", ServerLogLines(0, 500));
  dir.Write("access.log", ServerLogLines(500, 100));
  EXPECT_EQ(Add(dir.File("access.log.1")), std::make_pair(int64_t{200}, int64_t{300}));
  EXPECT_EQ(Add(dir.File("access.log")), std::make_pair(int64_t{100}, int64_t{0}));
  // The next rotation compresses it: nothing in it is new.
  testing::WriteGzipFile(dir.File("access.log.2.gz"), ServerLogLines(0, 500));
  EXPECT_EQ(Add(dir.File("access.log.2.gz")), std::make_pair(int64_t{0}, int64_t{500}));
  EXPECT_EQ(Count(), 600);
}

TEST_F(HistoryAdderTest, AGrownLogAddsOnlyItsNewLinesInEitherFormat) {
  struct Case {
    const char* name;
    std::string (*lines)(int, int);
  };
  const Case cases[] = {{"records", RecordLogLines},
                        {"server", [](int first, int count) { return ServerLogLines(first, count); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string log = dir.Write(std::string(c.name) + ".log", c.lines(0, 5));  // shorter than 4 KiB
    const int64_t before = Count() < 0 ? 0 : Count();
    EXPECT_EQ(Add(log).first, 5);
    dir.Write(std::string(c.name) + ".log", c.lines(0, 400));  // now far past 4 KiB
    EXPECT_EQ(Add(log), std::make_pair(int64_t{395}, int64_t{5}));
    dir.Write(std::string(c.name) + ".log", c.lines(0, 401));
    EXPECT_EQ(Add(log), std::make_pair(int64_t{1}, int64_t{400}));
    EXPECT_EQ(Count(), before + 401);
  }
}

TEST_F(HistoryAdderTest, AnAccessWhoseRecordsAreNotAllWrittenYetIsTakenOnceItIsComplete) {
  const std::string whole = RecordLogLines(0, 3);
  const size_t cut = whole.find("3#", whole.rfind("1#("));  // the last access lacks its 3# and 4# records
  const std::string log = dir.Write("access.log", whole.substr(0, cut));
  EXPECT_EQ(Add(log).first, 2);
  dir.Write("access.log", whole);
  EXPECT_EQ(Add(log), std::make_pair(int64_t{1}, int64_t{2}));
}

TEST_F(HistoryAdderTest, PageViewsComeBackInTheOrderAddedWithTheirKindOfLogAndZone) {
  Add(dir.Write("records.log", RecordLogLines(0, 2)));
  Add(dir.Write("access.log", ServerLogLines(0, 2, "-0130")));
  PageViewReader reader;
  ASSERT_TRUE(reader.Open(history));
  struct Expected {
    const char* page;
    bool fromServerLog;
    int32_t offset;
  };
  // Visit 1 is logged at 00:01:07 on 1 May 2026, local time, in both logs.
  const Expected rows[] = {{"1#(index)2026/05/01 00:00:07", false, 0},
                           {"1#(diary)2026/05/01 00:01:07", false, 0},
                           {"1#(/index.html)2026/5/01 00:00:07", true, -5400},
                           {"1#(/diary.html)2026/5/01 00:01:07", true, -5400}};
  PageViewRecords view;
  for (const Expected& row : rows) {
    ASSERT_TRUE(reader.Next(view));
    EXPECT_EQ(view.page, row.page);
    EXPECT_EQ(view.fromServerLog, row.fromServerLog);
    EXPECT_EQ(view.offsetSeconds, row.offset);
  }
  // The server's second line in UTC: 01:31:07.
  EXPECT_EQ(view.time % 86400, 1 * 3600 + 31 * 60 + 7);
  EXPECT_FALSE(reader.Next(view));
  EXPECT_FALSE(reader.Failed());
}

TEST_F(HistoryAdderTest, ABurstInOneSecondAndALineLoggedOutOfOrderKeepTheirOwnTimes) {
  // More page views in one second than a stamp numbers within it, then one logged a minute earlier.
  const auto line = [](int n, const char* time) {
    return "192.0.2.1 - - [10/May/2026:" + std::string(time) + " +0000] \"GET /p" + std::to_string(n) +
           ".html HTTP/1.1\" 200 1 \"-\" \"UA\"\n";
  };
  constexpr int kBurst = 150;  // late rows and page views read in more than one batch
  std::string log;
  for (int n = 0; n < kBurst; ++n) log += line(n, "12:00:00");
  log += line(kBurst, "11:59:00");
  Add(dir.Write("access.log", log));

  const int64_t noon = 1778414400;  // 2026-05-10 12:00:00 UTC
  std::vector<int64_t> times;
  PageViewReader reader;
  ASSERT_TRUE(reader.Open(history));
  PageViewRecords view;
  for (int n = 0; reader.Next(view); ++n) {
    EXPECT_EQ(view.page.substr(0, view.page.find(')') + 1), "1#(/p" + std::to_string(n) + ".html)");
    times.push_back(view.time);
  }
  EXPECT_FALSE(reader.Failed());
  std::vector<int64_t> expected(kBurst, noon);
  expected.push_back(noon - 60);
  EXPECT_EQ(times, expected);

  // The view for sqlite3 users tells the same times.
  Database db;
  std::string error;
  ASSERT_TRUE(OpenHistory(history, HistoryAccess::Read, db, error)) << error;
  Statement rows = db.Prepare("SELECT time FROM page_views ORDER BY stamp");
  std::vector<int64_t> viewed;
  while (rows.Step() == SQLITE_ROW) viewed.push_back(rows.Int(0));
  EXPECT_EQ(viewed, expected);
}

TEST_F(HistoryAdderTest, AFailedAdditionLeavesTheHistoryAsItWasAndSaysWhy) {
  Add(dir.Write("first.log", ServerLogLines(0, 50)));
  const std::string digest = FileDigest(history);
  const AddOutcome missing = AddLogToHistory(history, dir.File("missing.log"));
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.historyError);
  EXPECT_FALSE(missing.error.empty());
  const AddOutcome itself = AddLogToHistory(history, history);
  EXPECT_FALSE(itself.ok);
  EXPECT_EQ(FileDigest(history), digest);
  EXPECT_EQ(Count(), 50);
}

// Runs `add` in a child process and returns its pid.
template <typename F>
pid_t InChild(F add) {
  const pid_t pid = fork();
  if (pid == 0) {
    add();
    _exit(0);
  }
  return pid;
}

TEST_F(HistoryAdderTest, AnAdditionKilledMidWayLeavesTheHistoryExactlyAsItWas) {
  Add(dir.Write("first.log", ServerLogLines(0, 100)));
  const std::string digest = FileDigest(history);
  const std::string big = dir.Write("big.log", ServerLogLines(100, 200000));
  const pid_t child = InChild([&] { AddLogToHistory(history, big); });
  // Mid-way: the uncommitted page views have begun to reach the journal.
  const std::string wal = history + "-wal";
  bool midWay = false;
  for (int i = 0; i < 6000 && !midWay; ++i) {
    std::error_code ec;
    midWay = std::filesystem::file_size(wal, ec) > (1u << 20);
    if (!midWay) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(midWay);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(FileDigest(history), digest);
  EXPECT_EQ(Count(), 100);
  // The next addition finds the history sound.
  EXPECT_EQ(Add(dir.Write("next.log", ServerLogLines(100, 50))).first, 50);
}

TEST_F(HistoryAdderTest, ADiskThatFillsUpLeavesTheOldHistoryIntact) {
  Add(dir.Write("first.log", ServerLogLines(0, 100)));
  const std::string digest = FileDigest(history);
  const std::string big = dir.Write("big.log", ServerLogLines(100, 60000));
  const pid_t child = InChild([&] {
    // No file may grow past 512 KiB in the child: a full disk, as the writer sees it.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1 << 19, 1 << 19};
    setrlimit(RLIMIT_FSIZE, &limit);
    const AddOutcome outcome = AddLogToHistory(history, big);
    _exit(!outcome.ok && outcome.historyError ? 7 : 1);
  });
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
  EXPECT_EQ(FileDigest(history), digest);
  EXPECT_EQ(Count(), 100);
}

TEST_F(HistoryAdderTest, AReaderKeepsReadingWhileAnotherProgramAdds) {
  Add(dir.Write("first.log", ServerLogLines(0, 100)));
  PageViewReader reader;
  ASSERT_TRUE(reader.Open(history));
  PageViewRecords view;
  ASSERT_TRUE(reader.Next(view));  // the reader is inside its reading now
  EXPECT_EQ(Add(dir.Write("second.log", ServerLogLines(100, 100))).first, 100);
  int seen = 1;
  while (reader.Next(view)) ++seen;
  EXPECT_FALSE(reader.Failed()) << reader.Error();
  EXPECT_EQ(seen, 100);  // what was there when it began
  EXPECT_EQ(Count(), 200);
}

}  // namespace
}  // namespace vorel::history
