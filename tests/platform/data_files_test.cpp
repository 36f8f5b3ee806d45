#include "platform/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "analysis/class_lists.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace vorel::platform {
namespace {

using testing::ReadFile;
using testing::Sjis;
using testing::TempDir;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::set<std::string> FilesUnder(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    files.insert(entry.path().string());
  return files;
}

class DataFilesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgramFolder("");
    SetWriteFaultForTesting(nullptr);
    analysis::ClearClassLists();
    settings::ClearParams();
  }

  // A copy run from a folder of its own, with vorel.dat beside the program.
  std::string Portable() {
    const std::string folder = root.File("portable");
    MakeFolders(folder);
    root.Write("portable/vorel.dat", Sjis(kShipped));
    SetProgramFolder(folder);
    return folder;
  }

  // An installed tree: usr/bin for the programs, usr/share/vorel for the data.
  std::string Installed() {
    const std::string bin = root.File("usr/bin");
    MakeFolders(bin);
    SetProgramFolder(bin);
    MakeFolders(InstalledDataFolder());
    root.Write("usr/share/vorel/vorel.dat", Sjis(kShipped));
    root.Write("usr/share/vorel/vorel.hlp", "help");
    return bin;
  }

  static constexpr char kShipped[] = "IgnoreHost=shipped.example.jp\r\nOS=Windows NT 5.1,Windows XP\r\n";

  TempDir root;
  TempDir home;
  ScopedEnv xdg{"XDG_CONFIG_HOME", root.File("config")};
  ScopedEnv homeEnv{"HOME", home.path()};
  ScriptedPrompter prompter;
  ScopedPrompter scoped{prompter};
};

TEST_F(DataFilesTest, PortableCopyKeepsEverythingBesideTheProgram) {
  const std::string folder = Portable();
  EXPECT_FALSE(IsInstalledProgram());
  EXPECT_EQ(SettingsFolder(), folder);
  EXPECT_EQ(DocumentFolder(), folder);
  EXPECT_EQ(ClassificationFileToLoad(), folder + "/vorel.dat");
  EXPECT_EQ(ShippedFilePath("vorel.hlp"), folder + "/vorel.hlp");  // missing: still named beside the program
  EXPECT_EQ(settings::SettingsFilePath(), folder + "/vorel.ini");
  EXPECT_EQ(settings::DefaultText("LogFile", 1), folder + "/access.log");
  EXPECT_EQ(settings::DefaultText("FtpLocalFolder", 0), folder);

  EXPECT_EQ(EditableClassificationFile(), folder + "/vorel.dat");
  EXPECT_EQ(ReadFile(folder + "/vorel.dat"), Sjis(kShipped));
  EXPECT_FALSE(FolderExists(root.File("config/vorel")));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DataFilesTest, PortableCopyWithoutClassificationFileEditsANewOneBesideIt) {
  const std::string folder = Portable();
  std::filesystem::remove(folder + "/vorel.dat");
  EXPECT_EQ(ClassificationFileToLoad(), folder + "/vorel.dat");
  EXPECT_EQ(EditableClassificationFile(), folder + "/vorel.dat");
  EXPECT_FALSE(FileExists(folder + "/vorel.dat"));
  EXPECT_FALSE(FolderExists(root.File("config/vorel")));
}

TEST_F(DataFilesTest, InstalledProgramReadsTheDataFolderAndKeepsUserFilesPerUser) {
  Installed();
  const std::string data = root.File("usr/share/vorel");
  const std::string user = root.File("config/vorel");
  EXPECT_TRUE(IsInstalledProgram());
  EXPECT_EQ(InstalledDataFolder(), data);
  EXPECT_EQ(ShippedFilePath("vorel.hlp"), data + "/vorel.hlp");
  EXPECT_EQ(ClassificationFileToLoad(), data + "/vorel.dat");
  EXPECT_EQ(SettingsFolder(), user);
  // Reading leaves no empty folder behind; the first write makes it.
  EXPECT_EQ(settings::SettingsFilePath(), user + "/vorel.ini");
  settings::LoadParamsFromFile();
  EXPECT_FALSE(FolderExists(user));
  EXPECT_EQ(DocumentFolder(), home.path());
  EXPECT_EQ(settings::DefaultText("LogFile", 1), home.path() + "/access.log");
  EXPECT_EQ(settings::DefaultText("FtpLocalFolder", 0), home.path());
}

TEST_F(DataFilesTest, RelativeConfigHomeIsIgnoredForTheHomeFolder) {
  Installed();
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(UserSettingsFolder(), home.path() + "/.config/vorel");
  EXPECT_EQ(settings::SettingsFilePath(), home.path() + "/.config/vorel/vorel.ini");
}

TEST_F(DataFilesTest, InstalledProgramSavesAndLoadsItsSettingsPerUserAndWritesNothingInstalled) {
  Installed();
  const std::set<std::string> installed = FilesUnder(root.File("usr"));
  settings::LoadParamsFromFile();
  settings::SetParam("MaxDisp", 40);
  ASSERT_TRUE(settings::SaveParamsToFile());
  EXPECT_TRUE(FileExists(root.File("config/vorel/vorel.ini")));
  EXPECT_NE(ReadFile(root.File("config/vorel/vorel.ini")).find("MaxDisp=40\r\n"), std::string::npos);

  settings::ClearParams();
  EXPECT_TRUE(settings::LoadParamsFromFile());
  EXPECT_EQ(settings::ParamInt("MaxDisp"), 40);
  EXPECT_EQ(FilesUnder(root.File("usr")), installed);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DataFilesTest, EditMakesThePerUserCopyOnceAndLoadingPrefersIt) {
  Installed();
  const std::string shipped = root.File("usr/share/vorel/vorel.dat");
  const std::string copy = root.File("config/vorel/vorel.dat");
  const std::set<std::string> installed = FilesUnder(root.File("usr"));

  analysis::LoadClassLists();
  ASSERT_EQ(analysis::Classes().hostFilter, std::vector<std::string>{"shipped.example.jp"});

  EXPECT_EQ(EditableClassificationFile(), copy);
  EXPECT_EQ(ReadFile(copy), Sjis(kShipped));

  // The user's edit survives a second use of the command and wins at the next load.
  root.Write("config/vorel/vorel.dat", Sjis("IgnoreHost=Mine.Example.JP\r\n"));
  EXPECT_EQ(EditableClassificationFile(), copy);
  EXPECT_EQ(ReadFile(copy), Sjis("IgnoreHost=Mine.Example.JP\r\n"));
  EXPECT_EQ(ClassificationFileToLoad(), copy);
  analysis::ClearClassLists();  // a fresh start, as at the next run
  analysis::LoadClassLists();
  EXPECT_EQ(analysis::Classes().hostFilter, std::vector<std::string>{"mine.example.jp"});

  EXPECT_EQ(ReadFile(shipped), Sjis(kShipped));
  EXPECT_EQ(FilesUnder(root.File("usr")), installed);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DataFilesTest, CopyThatCannotBeWrittenIsReportedAndLeavesNothing) {
  Installed();
  const std::string copy = root.File("config/vorel/vorel.dat");
  SetWriteFaultForTesting([](int step) { return step == 1; });
  prompter.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(EditableClassificationFile(), "");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "解析情報ファイルの書き込みに失敗しました。\r\n" + copy);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_FALSE(FileExists(copy));
  EXPECT_EQ(FilesUnder(root.File("config/vorel")), std::set<std::string>{});
  EXPECT_EQ(ClassificationFileToLoad(), root.File("usr/share/vorel/vorel.dat"));
}

TEST_F(DataFilesTest, ProgramFolderWithItsOwnClassificationFileStaysPortableInsideAnInstalledTree) {
  // A build or a portable copy unpacked into a bin/ that happens to have share/vorel beside it.
  const std::string bin = Installed();
  root.Write("usr/bin/vorel.dat", Sjis("IgnoreHost=beside\r\n"));
  EXPECT_FALSE(IsInstalledProgram());
  EXPECT_EQ(SettingsFolder(), bin);
  EXPECT_EQ(ClassificationFileToLoad(), bin + "/vorel.dat");
  EXPECT_EQ(ShippedFilePath("vorel.hlp"), root.File("usr/share/vorel/vorel.hlp"));
}

}  // namespace
}  // namespace vorel::platform
