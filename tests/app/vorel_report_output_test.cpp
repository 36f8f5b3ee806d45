// Where vorel-report's report goes, and what it never touches: its own logs,
// what a link or a FIFO stands for, files named by mistake as settings or
// classification files; and how it ends when interrupted.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/report_process.h"
#include "support/test_files.h"

namespace vorel::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kClassFile = "OS=Windows NT 5.1,Windows XP\r\nBrowser=MSIE,Internet Explorer\r\n";

std::string Access(const std::string& page, const std::string& agent, const std::string& host) {
  return "1#(" + page + ")2001/12/02 09:03:07\r\n2#" + agent + "\r\n3#http://www.example.jp/\r\n4#" + host + "\r\n";
}

class VorelReportOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classes = work.Write("classes.dat", Sjis(kClassFile));
    settings = work.Write("settings.ini", "[vorel]\r\n");
    log =
        work.Write("access.log",
                   Sjis(Access("index", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)", "h.example.jp(1.2.3.4)") +
                        Access("diary", "Mozilla/5.0 (X11; Linux) Firefox/1.0", "(10.0.0.1)")));
  }

  std::vector<std::string> Args(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--settings", settings, "--classes", classes, "--all-dates", "--all-pages"});
    return args;
  }
  ProcessResult Run(const std::vector<std::string>& args) {
    return RunProgram(VOREL_REPORT_EXE, Args(args), work.path());
  }

  // The text report of the log, as written to a file.
  std::string TextReport() {
    ProcessResult r = Run({log, "-o", "expected.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::string text = ReadFile(work.File("expected.txt"));
    fs::remove(work.File("expected.txt"));
    return text;
  }

  TempDir work;
  std::string classes, settings, log;
};

TEST_F(VorelReportOutputTest, AnOutputThatIsOneOfTheLogsIsRefused) {
  const std::string original = ReadFile(log);
  const std::string other = work.Write("other.log", original);
  fs::create_symlink("access.log", work.File("link.log"));
  fs::create_hard_link(log, work.File("hard.log"));
  for (const std::string& output : {log, std::string("./access.log"), std::string("link.log"), std::string("hard.log"),
                                    work.File("../") + fs::path(work.path()).filename().string() + "/access.log"}) {
    ProcessResult r = Run({other, log, "-o", output});
    EXPECT_EQ(r.status, 2) << output;
    EXPECT_NE(r.err.find("出力先が解析するログと同じファイルです。\n" + output), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(log), original);
    EXPECT_TRUE(fs::is_symlink(work.File("link.log")));
  }
  // Standard output sent to a log by the shell: the test's runner sends it to ".stdout".
  ProcessResult toLog = Run({other, ".stdout", "-o", "-"});
  EXPECT_EQ(toLog.status, 2);
  EXPECT_NE(toLog.err.find("出力先が解析するログと同じファイルです。\n-"), std::string::npos) << toLog.err;

  // The other way round: a log given as the output of a different name is fine.
  ProcessResult r = Run({other, "-o", "report.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(VorelReportOutputTest, DashWritesToStandardOutputInTheFormatAsked) {
  const std::string text = TextReport();
  ASSERT_FALSE(text.empty());
  ProcessResult r = Run({log, "-o", "-"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, text);
  EXPECT_FALSE(fs::exists(work.File("-")));

  r = Run({"--format", "csv", log, "-o", "-"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind(Sjis("\"解析日付\",\"指定なし\"\r\n"), 0), 0u) << r.out;

  r = Run({"--format=html", log, "-o", "-"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
  EXPECT_NE(r.out.find("<img src=\"bar.gif\""), std::string::npos);
  EXPECT_FALSE(fs::exists(work.File("bar.gif")));  // no folder to put it in

  // --format also overrides a file's name.
  r = Run({"--format", "csv", log, "-o", "report.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(work.File("report.txt")).rfind(Sjis("\"解析日付\""), 0), 0u);

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--format", "xls", log, "-o", "-"},
        std::vector<std::string>{"--format", "csv", "--format", "txt", log, "-o", "-"}}) {
    r = Run(wrong);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("使い方: vorel-report"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(VorelReportOutputTest, AFifoIsWrittenAndStaysAFifo) {
  const std::string text = TextReport();
  const std::string fifo = work.File("report.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  ProcessResult r = Run({log, "-o", fifo});
  reader.join();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(received, text);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(VorelReportOutputTest, ALinkIsFollowedAndStaysALink) {
  const std::string text = TextReport();
  fs::create_directory(work.File("reports"));
  work.Write("reports/current.txt", "old report");
  fs::create_symlink("reports/current.txt", work.File("latest.txt"));
  ProcessResult r = Run({log, "-o", "latest.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(work.File("latest.txt")));
  EXPECT_EQ(ReadFile(work.File("reports/current.txt")), text);
  EXPECT_EQ(std::distance(fs::directory_iterator(work.File("reports")), {}), 1);
}

TEST_F(VorelReportOutputTest, NamedSettingsAndClassificationFilesMustBeSmallRegularFiles) {
  const std::string large = work.Write("large.dat", Sjis(kClassFile));
  fs::resize_file(large, 16 * 1024 * 1024 + 1);
  ASSERT_EQ(::mkfifo(work.File("pipe").c_str(), 0600), 0);
  struct Case {
    std::string option, path, message;
  };
  const std::vector<Case> cases = {
      {"--classes", work.File("missing.dat"), "解析情報ファイルが見つかりません。"},
      {"--classes", "/dev/zero", "解析情報ファイルが通常のファイルではありません。"},
      {"--classes", work.File("pipe"), "解析情報ファイルが通常のファイルではありません。"},
      {"--classes", work.path(), "解析情報ファイルが通常のファイルではありません。"},
      {"--classes", large, "解析情報ファイルが大きすぎます（16 MiB まで）。"},
      {"--settings", "/dev/zero", "設定ファイルが通常のファイルではありません。"},
      {"--settings", large, "設定ファイルが大きすぎます（16 MiB まで）。"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--all-dates", "--all-pages", log, "-o", "r.txt"};
    args.insert(args.begin(), {c.option, c.path});
    if (c.option != "--classes") args.insert(args.begin(), {"--classes", classes});
    ProcessResult r = RunProgram(VOREL_REPORT_EXE, args, work.path());
    EXPECT_EQ(r.status, 2) << c.option << " " << c.path;
    EXPECT_NE(r.err.find(c.message + "\n" + c.path), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(work.File("r.txt")));
  }
}

// Starts vorel-report with its standard streams in files of `work`.
pid_t Start(const std::vector<std::string>& args, const std::string& workDir) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(workDir.c_str()) != 0) ::_exit(126);
    const int out = ::open(".out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(VOREL_REPORT_EXE)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(VOREL_REPORT_EXE, argv.data());
    ::_exit(127);
  }
  return pid;
}

TEST_F(VorelReportOutputTest, AnInterruptedRunEndsWithTheShellsStatusAndLeavesNoTemporaryFile) {
  // Enough agents for a report larger than a pipe holds, so that the writer
  // waits on a FIFO nobody reads.
  std::string many;
  for (int i = 0; i < 3000; ++i) many += Access("index", "Agent/" + std::to_string(i) + " (long enough)", "(1.2.3.4)");
  const std::string big = work.Write("big.log", many);
  const std::string fifo = work.File("report.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const pid_t pid = Start(Args({"-q", big, "-o", fifo}), work.path());
    // Wait until the pipe is full: the report is being written.
    int queued = 0;
    for (int i = 0; i < 600 && queued < 65536; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ::ioctl(reader, FIONREAD, &queued);
    }
    EXPECT_GE(queued, 65536);
    ::kill(pid, signal);
    int wait = 0;
    ASSERT_EQ(::waitpid(pid, &wait, 0), pid);
    ::close(reader);
    ASSERT_TRUE(WIFEXITED(wait)) << "signal " << signal;
    EXPECT_EQ(WEXITSTATUS(wait), status);
    EXPECT_TRUE(fs::is_fifo(fifo));
  }
  for (const auto& entry : fs::directory_iterator(work.path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace vorel::testing
