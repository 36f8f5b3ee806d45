// The classification file is read only when it is a regular file of sensible
// size: a device or a FIFO named by mistake must neither fill the memory nor
// block the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using testing::TempDir;

class ClassFileLimits : public ::testing::Test {
 protected:
  void TearDown() override { ClearClassLists(); }

  // Loads `path` and returns the message it gave (empty when none).
  std::string LoadAndMessage(const std::string& path, bool expectLoaded) {
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scope(prompter);
    EXPECT_EQ(LoadClassListsFrom(path), expectLoaded) << path;
    return prompter.messages.empty() ? std::string() : prompter.messages[0].text;
  }

  TempDir dir;
};

TEST_F(ClassFileLimits, AFileUpToSixteenMebibytesIsReadAndALargerOneIsRefused) {
  const std::string path = dir.Write("vorel.dat", "OS=Linux,Linux\r\nBrowser=Firefox,Firefox\r\n");
  std::filesystem::resize_file(path, platform::kSmallFileLimit);  // sparse
  EXPECT_EQ(LoadAndMessage(path, true), "");
  EXPECT_EQ(Classes().os.size(), 1u);
  EXPECT_EQ(Result().Brws.Count, 1);

  std::filesystem::resize_file(path, platform::kSmallFileLimit + 1);
  EXPECT_EQ(LoadAndMessage(path, false), "解析情報ファイルの読み込みに失敗しました。\r\n" + path);
  EXPECT_TRUE(Classes().os.empty());
  EXPECT_EQ(Result().OS.Count, 0);
}

TEST_F(ClassFileLimits, DevicesFifosAndFoldersAreRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), dir.File("pipe"), dir.path()})
    EXPECT_EQ(LoadAndMessage(path, false), "解析情報ファイルの読み込みに失敗しました。\r\n" + path);
}

}  // namespace
}  // namespace vorel::analysis
