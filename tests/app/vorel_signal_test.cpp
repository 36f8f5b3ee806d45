// The desktop program on SIGINT, SIGTERM and SIGHUP during a download: it
// removes the file it was receiving, keeps the old log, saves its settings
// and ends with 128 + the signal's number. Offscreen, from a portable copy of
// the program whose settings lie beside it.
#ifdef VOREL_GUI_EXE
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "settings/settings_file.h"
#include "support/ftp_test_server.h"
#include "support/test_files.h"

namespace vorel::testing {
namespace {

namespace fs = std::filesystem;

// The temporary file of a download in the folder, or empty.
std::string TemporaryFileIn(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".tmp-") != std::string::npos) return entry.path().string();
  return {};
}

TEST(VorelSignalTest, ASignalDuringADownloadRemovesItsFileAndEnds) {
  // Slow enough that the download is still under way when the signal comes.
  FtpTestServer server(false, 20000);
  server.Put("public_html/access.log", std::string(2000000, 'x') + "\r\n");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempDir program;
    fs::copy_file(VOREL_GUI_EXE, program.File("vorel"));
    fs::permissions(program.File("vorel"), fs::perms::owner_all);
    fs::copy_file(std::string(VOREL_SOURCE_DIR) + "/data/vorel.dat", program.File("vorel.dat"));
    fs::create_directory(program.File("logs"));
    program.Write("logs/access.log", "old\r\n");
    program.Write("vorel.ini", "[vorel]\r\n\r\nAutoFtp=True\r\nFtpMessage=False\r\nFtpServerName=" +
                                   server.address() + "\r\nFtpUserName=" + FtpTestServer::kUser +
                                   "\r\nFtpPassword=" + settings::ScramblePassword(FtpTestServer::kPassword) +
                                   "\r\nFtpSavePassword=True\r\nFtpLogOverwrite=False\r\nFtpHostDir=public_html\r\nFtpLocalFolder=" +
                                   program.File("logs") + "\r\n");

    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
      ::execl(program.File("vorel").c_str(), "vorel", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    std::string receiving;
    for (int i = 0; i < 600 && receiving.empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      receiving = TemporaryFileIn(program.File("logs"));
    }
    if (receiving.empty()) ::kill(pid, SIGKILL);
    ASSERT_FALSE(receiving.empty()) << "the download did not start";
    ::kill(pid, signal);
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 400 && ended == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ended = ::waitpid(pid, &status, WNOHANG);
    }
    if (ended == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
    }
    ASSERT_EQ(ended, pid) << "the program did not end on the signal";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(TemporaryFileIn(program.File("logs")), "");
    EXPECT_EQ(ReadFile(program.File("logs/access.log")), "old\r\n");
    // The settings were saved as at a normal exit: the frame's size is always written.
    EXPECT_NE(ReadFile(program.File("vorel.ini")).find("MainWidth="), std::string::npos);
  }
}

}  // namespace
}  // namespace vorel::testing
#endif
