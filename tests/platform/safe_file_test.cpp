// Replacing files without ever writing through somebody else's link, and
// reading small files without ever blocking on or swallowing a device.
#include "platform/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "platform/paths.h"
#include "platform/prompter.h"
#include "support/test_files.h"

namespace vorel::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

class SafeFileTest : public ::testing::Test {
 protected:
  void TearDown() override { SetWriteFaultForTesting(nullptr); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  ScriptedPrompter prompter;
  ScopedPrompter scoped{prompter};
};

TEST_F(SafeFileTest, ReplacesAFileAndKeepsItsPermissions) {
  const std::string path = dir.Write("report.txt", "old");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileSafely(path, "new", "failed"));
  EXPECT_EQ(ReadFile(path), "new");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), std::vector<std::string>{"report.txt"});
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SafeFileTest, PlantedLinksUnderTheTemporaryNamesAreNeverWrittenThrough) {
  // Somebody sharing the folder has guessed the next temporary names and
  // linked each to a file of the victim's; the write takes the first free name.
  const std::string victim = dir.Write("victim.txt", "precious");
  fs::create_directory(dir.File("shared"));
  const std::string path = dir.File("shared/report.txt");
  int drawn = 0;
  SetTemporarySuffixesForTesting([&drawn] { return "guess" + std::to_string(drawn++); });
  constexpr int kPlanted = 5;
  for (int n = 0; n < kPlanted; ++n)
    ASSERT_EQ(::symlink(victim.c_str(), (path + ".tmp-guess" + std::to_string(n)).c_str()), 0);

  const bool written = WriteFileSafely(path, "report", "failed");
  SetTemporarySuffixesForTesting(nullptr);
  ASSERT_TRUE(written);
  EXPECT_EQ(drawn, kPlanted + 1);
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_EQ(ReadFile(path), "report");
}

TEST_F(SafeFileTest, TemporaryFilesAreNewPrivateAndUnpredictable) {
  const std::string target = dir.File("settings.ini");
  std::string first, second;
  const int a = CreateTemporaryFile(target, first);
  const int b = CreateTemporaryFile(target, second);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ::close(a);
  ::close(b);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(target + ".tmp-", 0), 0u) << first;
  struct stat st {};
  ASSERT_EQ(::stat(first.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ReleaseTemporaryFile(first);
  ReleaseTemporaryFile(second);
}

TEST_F(SafeFileTest, ALinkIsFollowedAndTheFileItNamesReplacedInItsOwnFolder) {
  fs::create_directory(dir.File("real"));
  const std::string real = dir.Write("real/report.txt", "old");
  fs::create_symlink("real/report.txt", dir.File("link.txt"));
  ASSERT_TRUE(WriteFileSafely(dir.File("link.txt"), "new", "failed"));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(ReadFile(real), "new");
  EXPECT_EQ(fs::directory_iterator(dir.File("real"))->path().filename(), "report.txt");

  // A link to a file not yet there creates that file.
  fs::create_symlink(dir.File("real/later.txt"), dir.File("dangling.txt"));
  ASSERT_TRUE(WriteFileSafely(dir.File("dangling.txt"), "later", "failed"));
  EXPECT_TRUE(fs::is_symlink(dir.File("dangling.txt")));
  EXPECT_EQ(ReadFile(dir.File("real/later.txt")), "later");
}

TEST_F(SafeFileTest, AFifoIsWrittenDirectlyAndStaysAFifo) {
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  const bool written = WriteFileSafely(fifo, "through the pipe", "failed");
  reader.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Entries(), std::vector<std::string>{"pipe"});
}

TEST_F(SafeFileTest, ADeviceIsWrittenAndNeverReplaced) {
  ASSERT_TRUE(WriteFileSafely("/dev/null", "nothing", "failed"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(SafeFileTest, AFolderThatTakesNoNewFilesGetsTheFileRewrittenInPlace) {
  const std::string path = dir.Write("report.txt", "a much longer old report");
  int creates = 0;
  SetWriteFaultForTesting([&](int step) { return step == 0 && ++creates == 1; });
  ASSERT_TRUE(WriteFileSafely(path, "short", "failed"));
  EXPECT_EQ(ReadFile(path), "short");
  EXPECT_EQ(Entries(), std::vector<std::string>{"report.txt"});
  EXPECT_TRUE(prompter.messages.empty());

  // Without an old file there is nothing to rewrite: Retry/Cancel as for any failure.
  SetWriteFaultForTesting([](int step) { return step == 0; });
  EXPECT_FALSE(WriteFileSafely(dir.File("new.txt"), "x", "failed"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "failed");
  EXPECT_FALSE(fs::exists(dir.File("new.txt")));
}

TEST_F(SafeFileTest, AReadOnlyFolderGetsTheFileRewrittenInPlace) {
  fs::create_directory(dir.File("locked"));
  const std::string path = dir.Write("locked/report.txt", "old report, longer");
  bool written = false;
  if (::geteuid() == 0) {
    // Folder permissions do not bind the superuser: write as somebody who
    // owns the file but not the folder.
    constexpr uid_t kNobody = 65534;
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::seteuid(kNobody), 0);
    written = WriteFileSafely(path, "new", "failed");
    ASSERT_EQ(::seteuid(0), 0);
  } else {
    ::chmod(dir.File("locked").c_str(), 0555);
    written = WriteFileSafely(path, "new", "failed");
    ::chmod(dir.File("locked").c_str(), 0755);
  }
  EXPECT_TRUE(written);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("locked")), {}), 1);
}

TEST_F(SafeFileTest, CancelAfterAFailedWriteRemovesTheTemporaryFile) {
  const std::string path = dir.Write("report.txt", "old");
  SetWriteFaultForTesting([](int step) { return step == 1; });
  EXPECT_FALSE(WriteFileSafely(path, "new", "failed"));
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(Entries(), std::vector<std::string>{"report.txt"});
}

// The child is stopped by `signal` after the temporary file has been written
// and flushed, just before the rename.
void InterruptWhileWriting(const std::string& path, int signal) {
  EndOnInterruptWithoutTemporaryFiles();
  SetWriteFaultForTesting([signal](int step) {
    if (step == 3) std::raise(signal);
    return false;
  });
  WriteFileSafely(path, std::string(100000, 'x'), "failed");
  std::_Exit(0);
}

TEST_F(SafeFileTest, InterruptedWritesLeaveNoTemporaryFileAndEndAsShellsExpect) {
  const std::string path = dir.Write("report.txt", "old");
  EXPECT_EXIT(InterruptWhileWriting(path, SIGINT), ::testing::ExitedWithCode(130), "");
  EXPECT_EXIT(InterruptWhileWriting(path, SIGTERM), ::testing::ExitedWithCode(143), "");
  EXPECT_EXIT(InterruptWhileWriting(path, SIGHUP), ::testing::ExitedWithCode(129), "");
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(Entries(), std::vector<std::string>{"report.txt"});
}

// --- small files --------------------------------------------------------

TEST(ReadSmallFileTest, ReadsOnlyRegularFilesUpToTheLimit) {
  TempDir dir;
  std::string bytes = "untouched";
  EXPECT_EQ(ReadSmallFile(dir.File("none.dat"), bytes), SmallFileProblem::Missing);
  EXPECT_EQ(ReadSmallFile(dir.path(), bytes), SmallFileProblem::NotRegular);
  EXPECT_EQ(ReadSmallFile("/dev/zero", bytes), SmallFileProblem::NotRegular);
  // A FIFO without a writer would block a plain open.
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(ReadSmallFile(dir.File("pipe"), bytes), SmallFileProblem::NotRegular);
  EXPECT_EQ(bytes, "untouched");

  // Sparse files: sizes without the disk space.
  const std::string limit = dir.File("limit.dat");
  fs::resize_file(dir.Write("limit.dat", "OS=a,b\r\n"), kSmallFileLimit);
  EXPECT_EQ(ReadSmallFile(limit, bytes), SmallFileProblem::None);
  EXPECT_EQ(bytes.size(), kSmallFileLimit);
  EXPECT_EQ(bytes.substr(0, 8), "OS=a,b\r\n");
  fs::resize_file(limit, kSmallFileLimit + 1);
  EXPECT_EQ(ReadSmallFile(limit, bytes), SmallFileProblem::TooLarge);
  EXPECT_EQ(ReadSmallFile(dir.Write("small.dat", "abc"), bytes, 2), SmallFileProblem::TooLarge);
  EXPECT_EQ(ReadSmallFile(dir.File("small.dat"), bytes, 3), SmallFileProblem::None);
  EXPECT_EQ(bytes, "abc");
}

}  // namespace
}  // namespace vorel::platform
