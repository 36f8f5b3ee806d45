// The File menu's writing commands: the registry export and the save of the
// results, each with its file dialog and overwrite question.
#include <QAction>
#include <ctime>
#include <filesystem>

#include "analysis/result.h"
#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/text_report.h"
#include "platform/registry_store.h"
#include "settings/registry_settings.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

const char kOverwriteQuestion[] = "\r\nこのファイルはすでに存在します。\r\n\r\n上書きしますか？";

class FileCommandsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    settings::SetParam("VisibleWindow", 0);
  }
};

TEST_F(FileCommandsTest, RegistryExportSavesTheSettingsAndWritesTheFile) {
  settings::ParseCommandLine("/USEREGS");
  frmMain& main = OpenFrame();
  main.EnableRegistryExport(true);
  settings::SetParam("LogFile", "C:\\logs\\access.log");
  const std::string path = dir.File("settings.reg");
  prompter.files.push_back(path);
  main.ToolbarButton("RegSave")->trigger();

  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_TRUE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].filter, "レジストリファイル (*.reg)|*.reg" VOREL_ALL_FILES_FILTER);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(platform::RegistryGetValue(settings::kRegistrySection, "LogFile1", ""), "C:\\logs\\access.log");
  const std::string text = testing::ReadFile(path);
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Palvern Company\\vorel]\r\n", 0), 0u);
  EXPECT_NE(text.find("\"LogFile1\"=\"C:\\\\logs\\\\access.log\"\r\n"), std::string::npos);
}

TEST_F(FileCommandsTest, RegistryExportOverAnExistingFileAsksAndNoChangesNothing) {
  frmMain& main = OpenFrame();
  main.EnableRegistryExport(true);
  const std::string path = dir.Write("old.reg", "keep me");
  prompter.files.push_back(path);
  main.mnuFileRegSave_Click();
  ASSERT_EQ(prompter.messages.size(), 1u);  // answered with the default
  EXPECT_EQ(prompter.messages[0].text, path + kOverwriteQuestion);
  EXPECT_EQ(prompter.messages[0].title, kProgramTitle);
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(prompter.messages[0].defaultAnswer, platform::MessageAnswer::No);
  EXPECT_EQ(testing::ReadFile(path), "keep me");
  EXPECT_TRUE(platform::RegistryListValues(settings::kRegistrySection).empty());

  prompter.files.push_back(path);
  prompter.answers.push_back(platform::MessageAnswer::Yes);
  main.mnuFileRegSave_Click();
  EXPECT_EQ(testing::ReadFile(path).rfind("REGEDIT4\r\n", 0), 0u);

  // Cancelled dialog: nothing written, nothing said.
  prompter.messages.clear();
  main.mnuFileRegSave_Click();
  EXPECT_TRUE(prompter.messages.empty());
}

class SaveCommandTest : public FileCommandsTest {
 protected:
  void SetUp() override {
    FileCommandsTest::SetUp();
    reports::SetReportClockForTesting([] { return std::time_t{1700000000}; });
    OpenFrame();
    UseLog(WriteLog("access.log", 12));
    frame->mnuEditAnalize_Click(0);
    ASSERT_EQ(analysis::ResultCount(0), 12);
    // What each writer makes of this result, for comparison.
    std::filesystem::create_directories(dir.File("expected"));
    reports::WriteTextReport(dir.File("expected/text"));
    reports::WriteCsvReport(dir.File("expected/csv"));
    reports::WriteHtmlReport(dir.File("expected/html"));
  }
  void TearDown() override {
    reports::SetReportClockForTesting(nullptr);
    FileCommandsTest::TearDown();
  }

  // Saves under `name` in a folder of its own; the file written, or empty.
  std::string Save(const std::string& name) {
    const std::string folder = dir.File("out" + std::to_string(++saves_));
    std::filesystem::create_directories(folder);
    prompter.files.push_back(folder + "/" + name);
    frame->ToolbarButton("ResultsSave")->trigger();
    return testing::ReadFile(folder + "/" + name);
  }

  std::string Expected(const char* format) const { return testing::ReadFile(dir.File(std::string("expected/") + format)); }

  int saves_ = 0;
};

TEST_F(SaveCommandTest, FormatFollowsTheNameInAnyLetterCase) {
  ASSERT_FALSE(Expected("text").empty());
  ASSERT_NE(Expected("text"), Expected("csv"));

  for (const char* name : {"report.CSV", "report.Csv", "r.csv"}) EXPECT_EQ(Save(name), Expected("csv")) << name;
  for (const char* name : {"report.HTM", "report.Html", "a.txt.htm"}) EXPECT_EQ(Save(name), Expected("html")) << name;
  for (const char* name : {"report.txt", "report", "report.log", "a.html.txt"})
    EXPECT_EQ(Save(name), Expected("text")) << name;
  EXPECT_TRUE(prompter.messages.empty());

  ASSERT_FALSE(prompter.fileRequests.empty());
  EXPECT_TRUE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].filter,
            "テキストファイル (*.txt)|*.txt|ＣＳＶファイル (*.csv)|*.csv|ＨＴＭＬファイル (*.html;*.htm)|*.html;*.htm"
            VOREL_ALL_FILES_FILTER);
  // An HTML page brings its bar image along.
  EXPECT_TRUE(platform::FileExists(dir.File("out4/bar.gif")));
}

TEST_F(SaveCommandTest, ExistingFileIsReplacedOnlyAfterYes) {
  const std::string path = dir.Write("report.csv", "old");
  prompter.files.push_back(path);
  frame->mnuFileSave_Click();  // the default answer, No
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, path + kOverwriteQuestion);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(prompter.messages[0].defaultAnswer, platform::MessageAnswer::No);
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(testing::ReadFile(path), "old");

  prompter.files.push_back(path);
  prompter.answers.push_back(platform::MessageAnswer::Yes);
  frame->mnuFileSave_Click();
  EXPECT_EQ(testing::ReadFile(path), Expected("csv"));

  // Cancelling the dialog writes nothing and says nothing; it proposes the last name.
  prompter.messages.clear();
  frame->mnuFileSave_Click();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(prompter.fileRequests.back().initialPath, path);
}

}  // namespace
}  // namespace vorel::ui
