// The File menu's writing commands: the registry export and the save of the
// results, each with its file dialog and overwrite question.
#include <QAction>

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
  EXPECT_EQ(prompter.fileRequests[0].filter, "レジストリファイル (*.reg)|*.reg|すべてのファイル (*.*)|*.*");
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

}  // namespace
}  // namespace vorel::ui
