// The program's start and end: switches, where the settings come from and go
// back to, the start-up options, the size kept at exit and /DELREGS.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <filesystem>
#include <stdexcept>

#include "analysis/companion.h"
#include "analysis/result.h"
#include "platform/registry_store.h"
#include "settings/registry_settings.h"
#include "settings/settings_file.h"
#include "ui/main/startup_sequence.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class StartupTest : public UiTest {
 protected:
  void WriteSettingsFile(const std::string& lines) { dir.Write("vorel.ini", "[vorel]\r\n\r\n" + lines); }

  std::unique_ptr<frmMain> Start(const std::string& arguments, std::optional<std::string> analyse = {}) {
    return Main(StartupRequest{arguments, std::move(analyse)});
  }

  static bool AnyFrameWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("frmMain")) return true;
    return false;
  }

  static bool ExportEnabled(const frmMain& main) {
    return main.MenuItem("mnuFileRegSave")->isEnabled() && main.ToolbarButton("RegSave")->isEnabled();
  }
  static bool ExportDisabled(const frmMain& main) {
    return !main.MenuItem("mnuFileRegSave")->isEnabled() && !main.ToolbarButton("RegSave")->isEnabled();
  }
};

TEST_F(StartupTest, DelRegsRemovesTheRegistrySettingsAndOpensNoWindow) {
  ASSERT_TRUE(platform::RegistryWriteValue(settings::kRegistrySection, "MainWidth", "9000"));
  EXPECT_EQ(Start("/useregs /DelRegs"), nullptr);
  EXPECT_TRUE(platform::RegistryListValues(settings::kRegistrySection).empty());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "レジストリ項目を削除しました。");
  EXPECT_EQ(prompter.messages[0].title, "レジストリ削除");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Information);
  EXPECT_FALSE(AnyFrameWindow());

  // Nothing to remove: the same message.
  EXPECT_EQ(Start("/DELREGS"), nullptr);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, "レジストリ項目を削除しました。");
}

TEST_F(StartupTest, WithoutSwitchesTheSettingsFileIsReadAndTheExportIsOff) {
  WriteSettingsFile("MainWidth=9000\r\nMainHeight=6000\r\nVisibleWindow=1\r\n");
  std::unique_ptr<frmMain> main = Start("");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->size(), QSize(600, 400));
  EXPECT_TRUE(ExportDisabled(*main));
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(main->IsResultWindowOpen(ResultSlot::Base));
  EXPECT_EQ(settings::ParamText("DllVersion"), analysis::kCompanionVersion);
  EXPECT_TRUE(prompter.messages.empty());
  // The classification lists are loaded: the OS table has its rows.
  EXPECT_GT(analysis::ResultCount(6), 0);

  // "/USEFILE," is no switch; the file is the default all the same.
  main.reset();
  main = Start("/USEFILE,");
  EXPECT_TRUE(ExportDisabled(*main));
}

TEST_F(StartupTest, UseRegsInLowerCaseReadsTheRegistryAndSavesBackThere) {
  ASSERT_TRUE(platform::RegistryWriteValue(settings::kRegistrySection, "MainWidth", "7500"));
  ASSERT_TRUE(platform::RegistryWriteValue(settings::kRegistrySection, "MainHeight", "4500"));
  ASSERT_TRUE(platform::RegistryWriteValue(settings::kRegistrySection, "VisibleWindow", "0"));
  std::unique_ptr<frmMain> main = Start("/useregs");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->size(), QSize(500, 300));
  EXPECT_TRUE(ExportEnabled(*main));
  EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());

  main->mnuViewMonth_Click();
  main->close();
  EXPECT_EQ(platform::RegistryGetValue(settings::kRegistrySection, "VisibleWindow", ""), "2");
  EXPECT_FALSE(platform::FileExists(dir.File("vorel.ini")));
}

TEST_F(StartupTest, TheLaterOfUseRegsAndUseFileWins) {
  std::unique_ptr<frmMain> main = Start("/USEREGS /USEFILE");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(ExportDisabled(*main));
  main->close();
  EXPECT_TRUE(platform::FileExists(dir.File("vorel.ini")));
  EXPECT_TRUE(platform::RegistryListValues(settings::kRegistrySection).empty());
}

TEST_F(StartupTest, StartUpOptionsAnalyseMaximiseAndTile) {
  const std::string log = WriteLog("access.log", 9);
  WriteSettingsFile("VisibleWindow=3\r\nSpecifyDate=False\r\nSpecifyPage=False\r\nAutoAnalize=True\r\n"
                    "AutoMaxSize=True\r\nAutoTile=True\r\nLogFile=" + log + "\r\n");
  std::unique_ptr<frmMain> main = Start("");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 9);
  EXPECT_TRUE(main->MenuItem("mnuFileSave")->isEnabled());
  EXPECT_TRUE(main->isMaximized());
  // Tiled one above the other: both windows as wide as the area.
  const int width = main->mdiArea()->viewport()->width();
  for (QMdiSubWindow* sub : main->mdiArea()->subWindowList()) EXPECT_EQ(sub->width(), width);
  EXPECT_NE(main->SubWindow(ResultSlot::Base)->y(), main->SubWindow(ResultSlot::Month)->y());
}

TEST_F(StartupTest, TheFirstStartCentresAFrameForTheWholeToolbarWithTheWindowsTiled) {
  for (const char* switches : {"", "/USEREGS"}) {
    SCOPED_TRACE(switches);
    ASSERT_FALSE(platform::FileExists(dir.File("vorel.ini")));
    std::unique_ptr<frmMain> main = Start(switches);
    ASSERT_NE(main, nullptr);
    QApplication::processEvents();
    const QRect screen = main->screen()->availableGeometry();
    // Centred, the window manager's border and title aside.
    const QRect frame = main->frameGeometry();
    const int titleBar = main->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), titleBar);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), titleBar);
    EXPECT_GE(frame.width(), screen.width() * 2 / 3);
    EXPECT_GE(frame.height(), screen.height() * 2 / 3);
    EXPECT_TRUE(screen.contains(frame));
    // The last button shows: the toolbar is whole, nothing folded away.
    EXPECT_TRUE(main->tbToolBar()->widgetForAction(main->ToolbarButton("AboutVorel"))->isVisible());
    // All twelve windows open side by side, none on top of another.
    const QList<QMdiSubWindow*> windows = main->mdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 12);
    for (qsizetype i = 0; i < windows.size(); ++i)
      for (qsizetype j = i + 1; j < windows.size(); ++j)
        EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry()))
            << windows[i]->objectName().toStdString() << " " << windows[j]->objectName().toStdString();
    main->close();
    main.reset();
    platform::RegistryDeleteKey(settings::kRegistrySection);
    std::filesystem::remove(dir.File("vorel.ini"));
    settings::ClearParams();
    settings::ApplyDefaults();
  }
}

TEST_F(StartupTest, AnalyseRequestReadsTheGivenLogAfterStartUp) {
  const std::string log = WriteLog("given.log", 4, "diary");
  WriteSettingsFile("SpecifyPage=True\r\nPage=index\r\n");
  std::unique_ptr<frmMain> main = Start("", log);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 4);
  EXPECT_EQ(settings::ParamText("LogFile", 1), log);
}

TEST_F(StartupTest, MaximisedOrMinimisedFrameKeepsTheLastNormalSize) {
  WriteSettingsFile("MainWidth=8400\r\nMainHeight=5865\r\n");
  std::unique_ptr<frmMain> main = Start("");
  main->showMaximized();
  main->close();
  settings::ClearParams();
  ASSERT_TRUE(settings::LoadParamsFromFile());
  EXPECT_EQ(settings::ParamInt("MainWidth"), 8400);
  EXPECT_EQ(settings::ParamInt("MainHeight"), 5865);

  main = Start("");
  main->showMinimized();
  main->close();
  settings::ClearParams();
  ASSERT_TRUE(settings::LoadParamsFromFile());
  EXPECT_EQ(settings::ParamInt("MainWidth"), 8400);

  main = Start("");
  main->resize(640, 480);
  main->close();
  settings::ClearParams();
  ASSERT_TRUE(settings::LoadParamsFromFile());
  EXPECT_EQ(settings::ParamInt("MainWidth"), 9600);
  EXPECT_EQ(settings::ParamInt("MainHeight"), 7200);
}

TEST_F(StartupTest, AFailedStartUpEndsWithAnErrorStatusAfterItsMessage) {
  // The end after /DELREGS is no failure.
  EXPECT_EQ(RunProgram(StartupRequest{"/DELREGS", {}}), 0);
  prompter.messages.clear();

  // Start-up breaks off before the frame is shown: the class list's message cannot be shown.
  std::filesystem::remove(dir.File("vorel.dat"));
  int shown = 0;
  prompter.onMessage = [&shown](const platform::MessageRequest&) {
    if (shown++ == 0) throw std::runtime_error("表示できません。");
  };
  EXPECT_EQ(RunProgram(StartupRequest{"", {}}), 1);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, "Error: 5\r\n表示できません。");
  EXPECT_EQ(prompter.messages[1].icon, platform::MessageIcon::Error);
  EXPECT_FALSE(AnyFrameWindow());
}

TEST_F(StartupTest, StartUpErrorsReadErrorNumberAndDescription) {
  const std::string memory = StartupErrorText(std::make_exception_ptr(std::bad_alloc()));
  EXPECT_EQ(memory, "Error: 7\r\nメモリが不足しています。");
  const std::string system =
      StartupErrorText(std::make_exception_ptr(std::system_error(std::make_error_code(std::errc::no_such_file_or_directory))));
  EXPECT_EQ(system.rfind("Error: " + std::to_string(ENOENT) + "\r\n", 0), 0u);
  EXPECT_GT(system.size(), std::string("Error: 2\r\n").size());
}

}  // namespace
}  // namespace vorel::ui
