// The log download against a real FTP server on 127.0.0.1.
#include "ftp/ftp_download.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "ftp/ftp_error_text.h"
#include "platform/ftp_client.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/ftp_test_server.h"
#include "support/test_files.h"

namespace vorel::ftp {
namespace {

namespace fs = std::filesystem;
using testing::FtpTestServer;

class FtpDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::ClearParams();
    settings::ApplyDefaults();
    platform::SetFtpTrustedCertificatesForTesting("");
  }
  void TearDown() override {
    platform::SetFtpTimeouts({});
    platform::SetFtpTrustedCertificatesForTesting("");
    settings::ClearParams();
  }

  void UseServer(const std::string& server, const std::string& dir = "public_html",
                 const std::string& name = "access.log", const std::string& password = FtpTestServer::kPassword) {
    settings::SetParam("FtpServerName", server);
    settings::SetParam("FtpUserName", FtpTestServer::kUser);
    settings::SetParam("FtpPassword", password);
    settings::SetParam("FtpHostDir", dir);
    settings::SetParam("FtpLocalFolder", local.path());
    settings::SetParam("FtpFileName", name);
  }

  // Only the target and nothing else (no temporary file) in the local folder.
  std::vector<std::string> LocalFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(local.path())) names.push_back(entry.path().filename().string());
    return names;
  }

  std::string OnlyMessage() const {
    EXPECT_EQ(prompter.messages.size(), 1u);
    if (prompter.messages.empty()) return {};
    EXPECT_EQ(prompter.messages[0].title, "エラー");
    EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
    return prompter.messages[0].text;
  }

  // A log of many CR LF lines, large enough to be cut off in the middle.
  static std::string LargeLog(size_t lines) {
    std::string text;
    for (size_t i = 0; i < lines; ++i)
      text += "1#(index)2024/01/01 12:00:00\r\n2#Mozilla/4.0\r\n3#\r\n4#host" + std::to_string(i) + "(10.0.0.1)\r\n";
    return text;
  }

  testing::TempDir local;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scoped{prompter};
};

TEST_F(FtpDownloadTest, FetchesTheLogByteForByteWithCrLfLines) {
  FtpTestServer server;
  // Code page 932 text with CR LF, as the logging script writes it.
  const std::string log = testing::Sjis("1#(日記)2024/01/02 03:04:05\r\n2#Mozilla\r\n3#\r\n4#(10.0.0.1)\r\n");
  server.Put("public_html/access.log", log);
  server.Put("public_html/unix.log", "1#(index)2024/01/02 03:04:05\n2#a\n\n4#(10.0.0.2)\n");
  const std::string old = testing::Sjis("古いログ\r\n");
  local.Write("access.log", old);

  UseServer(server.address());
  EXPECT_TRUE(DownloadLog());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(testing::ReadFile(local.File("access.log")), log);

  // A log kept with LF arrives with CR LF; the absolute directory works as well.
  UseServer(server.address(), "/public_html", "unix.log");
  EXPECT_TRUE(DownloadLog());
  EXPECT_EQ(testing::ReadFile(local.File("unix.log")), "1#(index)2024/01/02 03:04:05\r\n2#a\r\n\r\n4#(10.0.0.2)\r\n");
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(LocalFiles().size(), 2u);
  // Readable by the user like any file the program writes.
  EXPECT_EQ(::access(local.File("unix.log").c_str(), R_OK | W_OK), 0);
}

// One way of failing to connect, set up against real servers, and the words
// the message gives for it (the reason for the code, and the code itself).
struct ConnectFailureRow {
  const char* what;
  int code;
  bool serverWantsTls;
};

TEST_F(FtpDownloadTest, ConnectionFailuresSayWhatWentWrongWithTheLibrarysCode) {
  FtpTestServer server;
  server.Put("public_html/access.log", "1#x\r\n");
  FtpTestServer secure(true);
  FtpTestServer stalled;
  stalled.Pause();
  const int deadPort = [] {
    FtpTestServer gone;
    return gone.port();
  }();
  local.Write("access.log", "old\r\n");
  // A refused login is answered after a pause (3 s on the test server).
  platform::SetFtpTimeouts({10, 6});

  const std::vector<std::pair<std::function<void()>, ConnectFailureRow>> rows = {
      {[&] { UseServer(server.address(), "public_html", "access.log", "wrong"); }, {"wrong password", 67, false}},
      {[&] { UseServer(secure.address()); }, {"TLS required", 67, true}},
      {[&] { UseServer("ftps://" + secure.address()); }, {"certificate not trusted", 60, false}},
      {[&] { UseServer(stalled.address()); }, {"no answer", 28, false}},
      {[&] { UseServer("127.0.0.1:" + std::to_string(deadPort)); }, {"refused", 7, false}},
      {[&] { UseServer("no-such-host.invalid"); }, {"unknown host", 6, false}},
      {[&] { UseServer("127.0.0.1:99999"); }, {"no host at all", 3, false}},
  };
  for (const auto& [setUp, row] : rows) {
    SCOPED_TRACE(row.what);
    prompter.messages.clear();
    setUp();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DownloadLog());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(OnlyMessage(), FtpFailureMessage("接続できませんでした。", row.code, row.serverWantsTls));
  }
  stalled.Resume();
  EXPECT_EQ(testing::ReadFile(local.File("access.log")), "old\r\n");
  EXPECT_EQ(LocalFiles(), std::vector<std::string>{"access.log"});
}

// Each code that has words says something of its own; a wrong password never
// reads like a server that wants TLS.
TEST(FtpFailureTextTest, EveryKnownCauseHasItsOwnWordsAndTheCodeComesLast) {
  const std::vector<std::string> reasons = {FtpFailureReason(67), FtpFailureReason(67, true), FtpFailureReason(60),
                                            FtpFailureReason(28), FtpFailureReason(7), FtpFailureReason(6),
                                            FtpFailureReason(64)};
  for (size_t i = 0; i < reasons.size(); ++i) {
    EXPECT_FALSE(reasons[i].empty()) << i;
    for (size_t j = i + 1; j < reasons.size(); ++j) EXPECT_NE(reasons[i], reasons[j]) << i << " " << j;
  }
  EXPECT_NE(FtpFailureReason(67, true).find("ftps://"), std::string::npos);
  EXPECT_EQ(FtpFailureReason(21), "");
  EXPECT_EQ(FtpFailureMessage("接続できませんでした。", 67),
            "接続できませんでした。\r\n" + FtpFailureReason(67) + "\r\nError Code: 67");
  EXPECT_EQ(FtpFailureMessage("接続できませんでした。", 21), "接続できませんでした。\r\nError Code: 21");
}

TEST_F(FtpDownloadTest, DirectoryAndFileFailuresNameWhatWasAskedFor) {
  FtpTestServer server;
  server.Put("public_html/access.log", "1#x\r\n");

  UseServer(server.address(), "~/no_such_dir");
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), "ディレクトリの移動ができませんでした。\r\nError Code: 21\r\n(~/no_such_dir)");

  // A directory text cannot smuggle a second command.
  prompter.messages.clear();
  UseServer(server.address(), "public_html\r\nDELE access.log");
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage().rfind("ディレクトリの移動ができませんでした。\r\nError Code: 43\r\n(", 0), 0u);
  EXPECT_TRUE(fs::exists(server.home() + "/public_html/access.log"));

  prompter.messages.clear();
  UseServer(server.address(), "public_html", "missing.log");
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), "ファイルの取得ができませんでした。\r\nError Code: 78\r\n(public_html/missing.log)");
  EXPECT_TRUE(LocalFiles().empty());

  // A local folder that cannot hold the file is the local side's problem.
  prompter.messages.clear();
  UseServer(server.address());
  settings::SetParam("FtpLocalFolder", local.File("absent"));
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), LocalFolderFailureMessage(local.File("absent")));
}

TEST_F(FtpDownloadTest, ABrokenTransferKeepsTheOldLogAndLeavesNoTemporaryFile) {
  // Sent slowly, so that the server dies with most of the file still to come.
  FtpTestServer server(false, 1 << 20);
  server.Put("public_html/access.log", LargeLog(400000));
  const std::string old = "1#(index)2023/12/31 23:59:59\r\n";
  local.Write("access.log", old);
  UseServer(server.address());

  // The server dies once the first data has arrived.
  bool killed = false;
  EXPECT_FALSE(DownloadLog([&](uint64_t received, uint64_t) {
    if (received > 0 && !killed) {
      server.Stop();
      killed = true;
    }
  }));
  EXPECT_TRUE(killed);
  EXPECT_EQ(OnlyMessage().rfind("ファイルの取得ができませんでした。\r\n", 0), 0u);
  EXPECT_EQ(testing::ReadFile(local.File("access.log")), old);
  EXPECT_EQ(LocalFiles(), std::vector<std::string>{"access.log"});
}

TEST_F(FtpDownloadTest, AStalledServerEndsTheTransferAfterTheStallLimit) {
  // Sent slowly, so that the server freezes with most of the file still to come.
  FtpTestServer server(false, 1 << 20);
  server.Put("public_html/access.log", LargeLog(400000));
  local.Write("access.log", "old\r\n");
  UseServer(server.address());
  platform::SetFtpTimeouts({30, 2});

  bool paused = false;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DownloadLog([&](uint64_t received, uint64_t) {
    if (received > 0 && !paused) {
      server.Pause();
      paused = true;
    }
  }));
  server.Resume();
  EXPECT_TRUE(paused);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(45));
  EXPECT_EQ(OnlyMessage().rfind(FtpFailureMessage("ファイルの取得ができませんでした。", 28) + "\r\n", 0), 0u);
  EXPECT_EQ(testing::ReadFile(local.File("access.log")), "old\r\n");
  EXPECT_EQ(LocalFiles(), std::vector<std::string>{"access.log"});
}

TEST_F(FtpDownloadTest, FtpsRequiresTlsAndATrustedCertificate) {
  FtpTestServer secure(true);
  const std::string log = "1#(index)2024/05/06 07:08:09\r\n";
  secure.Put("public_html/access.log", log);

  // The system's certificates do not know the test's own.
  UseServer("ftps://" + secure.address());
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), FtpFailureMessage("接続できませんでした。", 60));

  prompter.messages.clear();
  platform::SetFtpTrustedCertificatesForTesting(secure.certificate());
  UseServer("FTPS://" + secure.address());
  EXPECT_TRUE(DownloadLog());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(testing::ReadFile(local.File("access.log")), log);

  // Plain FTP against it: the server refuses the login in clear.
  UseServer(secure.address());
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), FtpFailureMessage("接続できませんでした。", 67, true));

  // A server without TLS does not get the password in clear.
  prompter.messages.clear();
  FtpTestServer plain;
  UseServer("ftps://" + plain.address());
  EXPECT_FALSE(DownloadLog());
  EXPECT_EQ(OnlyMessage(), FtpFailureMessage("接続できませんでした。", 64));
}

TEST(FtpServerTextTest, HostPortAndTls) {
  platform::FtpServerAddress address;
  ASSERT_TRUE(platform::ParseFtpServer("ftp.example.ne.jp", address));
  EXPECT_EQ(address.host, "ftp.example.ne.jp");
  EXPECT_EQ(address.port, 21);
  EXPECT_FALSE(address.tls);
  ASSERT_TRUE(platform::ParseFtpServer("ftps://example.jp:990", address));
  EXPECT_TRUE(address.tls);
  EXPECT_EQ(address.host, "example.jp");
  EXPECT_EQ(address.port, 990);
  ASSERT_TRUE(platform::ParseFtpServer("[::1]:2121", address));
  EXPECT_EQ(address.host, "[::1]");
  EXPECT_EQ(address.port, 2121);
  for (const char* bad : {"", "host:", "host:0", "host:65536", "host:2x", "user@host", "host/dir", "ftps://",
                          "a b", "::1"})
    EXPECT_FALSE(platform::ParseFtpServer(bad, address)) << bad;
}

class MakeFolderPathTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
};

TEST_F(MakeFolderPathTest, CreatesEveryMissingLevelAndKeepsTheCurrentFolder) {
  const fs::path before = fs::current_path();
  EXPECT_TRUE(MakeFolderPath(dir.File("logs/2024")));
  EXPECT_TRUE(fs::is_directory(dir.File("logs/2024")));
  // Existing levels and doubled or trailing separators are fine.
  EXPECT_TRUE(MakeFolderPath(dir.File("logs//2024/may/")));
  EXPECT_TRUE(fs::is_directory(dir.File("logs/2024/may")));
  EXPECT_EQ(fs::current_path(), before);

  // A relative path starts at the current folder, which stays as it was.
  fs::current_path(dir.path());
  EXPECT_TRUE(MakeFolderPath("rel/sub"));
  EXPECT_EQ(fs::current_path(), fs::path(dir.path()));
  fs::current_path(before);
  EXPECT_TRUE(fs::is_directory(dir.File("rel/sub")));
}

TEST_F(MakeFolderPathTest, FailsWhenALevelCannotBeCreated) {
  dir.Write("file", "x");
  EXPECT_FALSE(MakeFolderPath(dir.File("file/sub")));
  EXPECT_FALSE(fs::exists(dir.File("file/sub")));
  EXPECT_FALSE(MakeFolderPath(""));
  EXPECT_FALSE(MakeFolderPath(std::string(dir.File("a")) + std::string(1, '\0') + "b"));
  if (::geteuid() != 0) {
    fs::create_directory(dir.File("locked"));
    fs::permissions(dir.File("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(MakeFolderPath(dir.File("locked/sub")));
    fs::permissions(dir.File("locked"), fs::perms::owner_all);
  }
  EXPECT_EQ(LocalTargetPath("/home/u/logs", "access.log"), "/home/u/logs/access.log");
}

}  // namespace
}  // namespace vorel::ftp

namespace vorel::ftp {
namespace {

// A cancel as the progress window's 中止 raises it: mid-transfer (as soon as
// data flows) and, from another thread, while the server does not answer.
TEST_F(FtpDownloadTest, ACancelEndsTheDownloadAtOnceKeepingTheOldLogAndNoTemporaryFile) {
  // Sent slowly, so that the cancel comes with most of the file still to come.
  FtpTestServer server(false, 1 << 20);
  server.Put("public_html/access.log", LargeLog(400000));
  const std::string old = "1#(index)2023/12/31 23:59:59\r\n";
  local.Write("access.log", old);
  UseServer(server.address());
  const DownloadRequest request = ReadDownloadRequest();

  struct Row {
    const char* when;
    bool pauseServerFirst;
  };
  for (const Row row : {Row{"mid-transfer", false}, Row{"connecting", true}}) {
    SCOPED_TRACE(row.when);
    std::atomic<bool> cancel{false};
    if (row.pauseServerFirst) server.Pause();
    std::thread canceller([&] {
      if (!row.pauseServerFirst) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    const DownloadOutcome outcome = Download(request, [&](uint64_t received, uint64_t) {
      if (received > 0) cancel = true;
    }, &cancel);
    const auto took = std::chrono::steady_clock::now() - start;
    canceller.join();
    if (row.pauseServerFirst) server.Resume();
    EXPECT_EQ(outcome.status, DownloadStatus::Cancelled);
    EXPECT_EQ(outcome.message, "");
    // Far below the connect and stall limits: the cancel ended it, no timeout.
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_EQ(testing::ReadFile(local.File("access.log")), old);
    EXPECT_EQ(LocalFiles(), std::vector<std::string>{"access.log"});
  }
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace vorel::ftp
