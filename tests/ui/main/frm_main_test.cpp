// The frame: its menu bar and toolbar as designed, the result windows it
// opens at load and records at close, the toolbar switch, window commands,
// the log-file command, help and the About box.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QComboBox>
#include <vector>

#include "settings/settings_file.h"
#include "ui/main/frm_about.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_window.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

struct ItemRow {
  const char* name;
  const char* caption;  // "-" for a separator line
  const char* shortcut;
};

struct MenuRow {
  const char* name;
  const char* caption;
  std::vector<ItemRow> items;
};

const std::vector<MenuRow> kExpectedMenus = {
    {"mnuFile",
     "ファイル(&F)",
     {{"mnuFileOpen", "ログファイル(&O)...", ""},
      {"mnuFileAddHistory", "履歴に追加...", ""},
      {"mnuFileSave", "結果保存(&S)...", "Ctrl+S"},
      {"mnuFileBar1", "-", ""},
      {"mnuFileRegSave", "レジストリ書き出し(&R)...", ""},
      {"mnuFileBar2", "-", ""},
      {"mnuFilePageSetup", "ページ設定(&U)...", ""},
      {"mnuFilePrint", "印刷(&P)...", "Ctrl+P"},
      {"mnuFileBar3", "-", ""},
      {"mnuFileExit", "終了(&X)", ""}}},
    {"mnuEdit",
     "編集(&E)",
     {{"mnuEditAnalize", "新規解析(&N)", "Ctrl+L"},
      {"mnuEditAnalize", "追加解析(&A)", ""},
      {"mnuEditBar1", "-", ""},
      {"mnuEditFtp", "簡易ＦＴＰ(&F)...", "Ctrl+F"},
      {"mnuEditUrlList", "ＵＲＬ一覧(&U)...", "Ctrl+U"}}},
    {"mnuView",
     "表示(&V)",
     {{"mnuViewToolbar", "ツールバー(&T)", ""},
      {"mnuViewBar1", "-", ""},
      {"mnuViewBase", "解析情報(&B)...", "Ctrl+B"},
      {"mnuViewMonth", "月別(&M)...", "Ctrl+M"},
      {"mnuViewWWeek", "週別(&E)...", "Ctrl+E"},
      {"mnuViewDWeek", "曜日別(&K)...", "Ctrl+K"},
      {"mnuViewDate", "日付別(&D)...", "Ctrl+D"},
      {"mnuViewTime", "時間別(&N)...", "Ctrl+N"},
      {"mnuViewOS", "ＯＳ別(&S)...", "Ctrl+A"},
      {"mnuViewBrws", "ブラウザ別(&W)...", "Ctrl+W"},
      {"mnuViewAgent", "エージェント別(&X)", "Ctrl+X"},
      {"mnuViewHost", "ホスト名別(&H)...", "Ctrl+H"},
      {"mnuViewRef", "前画面別(&R)...", "Ctrl+R"},
      {"mnuViewPage", "ページ別(&G)...", "Ctrl+G"},
      {"mnuViewBar2", "-", ""},
      {"mnuViewRefresh", "再描画(&L)", "F5"},
      {"mnuViewBar3", "-", ""},
      {"mnuViewOptions", "オプション(&O)...", "Ctrl+O"}}},
    {"mnuWindow",
     "ウィンドウ(&W)",
     {{"mnuWindowCascade", "重ねて表示(&C)", ""},
      {"mnuWindowTileHorizontal", "上下に並べて表示(&H)", ""},
      {"mnuWindowTileVertical", "左右に並べて表示(&V)", ""},
      {"mnuWindowArrangeIcons", "アイコンの整列(&A)", ""}}},
    {"mnuHelp",
     "ヘルプ(&H)",
     {{"mnuHelpContents", "トピックの検索(&S)...", ""},
      {"mnuHelpBar1", "-", ""},
      {"mnuHelpAbout", "バージョン情報(&A)...", ""}}},
};

struct ButtonRow {
  const char* key;
  const char* toolTip;
};

// Left to right; nullptr stands for a separator gap.
const std::vector<ButtonRow> kExpectedButtons = {
    {"LogFileOpen", "ログファイルを開く"}, {"ResultsSave", "解析結果を保存"}, {"RegSave", "レジストリ設定の書き出し"},
    {"Printer", "印刷"},                   {"Exit", "終了"},                   {nullptr, nullptr},
    {"AaAnalize", "アクセス解析"},         {"FtpGet", "簡易ＦＴＰ"},           {"UrlList", "ＵＲＬ一覧"},
    {nullptr, nullptr},                    {"BaseWindow", "解析情報"},         {"MonthWindow", "月別アクセス"},
    {"WWeekWindow", "週別アクセス"},       {"DWeekWindow", "曜日別アクセス"},  {"DateWindow", "日付別アクセス"},
    {"TimeWindow", "時間別アクセス"},      {"OSWindow", "ＯＳ別アクセス"},     {"BrwsWindow", "ブラウザ別アクセス"},
    {"AgentWindow", "エージェント別アクセス"}, {"HostWindow", "ホスト名別アクセス"}, {"RefWindow", "前画面別アクセス"},
    {"PageWindow", "ページ別アクセス"},    {nullptr, nullptr},                 {"Options", "オプション設定"},
    {nullptr, nullptr},                    {"AboutVorel", "バージョン情報"},
};

class FrmMainTest : public UiTest {
 protected:
  std::vector<QString> OpenWindowNames() const {
    std::vector<QString> names;
    for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList(QMdiArea::CreationOrder))
      names.push_back(sub->widget()->objectName());
    return names;
  }
  QString ActiveWindowName() const {
    QMdiSubWindow* active = frame->mdiArea()->activeSubWindow();
    return active ? active->widget()->objectName() : QString();
  }
  // Settings as the next start reads them from the file.
  void ReloadSettingsFile() {
    settings::ClearParams();
    ASSERT_TRUE(settings::LoadParamsFromFile());
  }
};

TEST_F(FrmMainTest, MenuBarFollowsTheDesign) {
  frmMain& main = OpenFrame();
  EXPECT_EQ(main.windowTitle(), QStringLiteral("ＨＰアクセス解析"));
  const QList<QAction*> menus = main.menuBar()->actions();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(kExpectedMenus.size()));
  for (size_t m = 0; m < kExpectedMenus.size(); ++m) {
    const MenuRow& expected = kExpectedMenus[m];
    QMenu* menu = menus[m]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QString::fromLatin1(expected.name));
    EXPECT_EQ(menu->title(), QString::fromUtf8(expected.caption));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.items.size())) << expected.name;
    for (size_t i = 0; i < expected.items.size(); ++i) {
      const ItemRow& row = expected.items[i];
      SCOPED_TRACE(row.name);
      EXPECT_EQ(items[i]->objectName(), QString::fromLatin1(row.name));
      if (QLatin1String(row.caption) == QLatin1String("-")) {
        EXPECT_TRUE(items[i]->isSeparator());
        continue;
      }
      EXPECT_EQ(items[i]->text(), QString::fromUtf8(row.caption));
      EXPECT_EQ(items[i]->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
    }
  }
  EXPECT_EQ(main.AnalizeItem(0)->property("Index").toInt(), 0);
  EXPECT_EQ(main.AnalizeItem(1)->property("Index").toInt(), 1);
  EXPECT_TRUE(main.MenuItem("mnuViewToolbar")->isChecked());
}

TEST_F(FrmMainTest, ToolbarHasItsKeyedButtonsWithImagesAndFourGaps) {
  frmMain& main = OpenFrame();
  ASSERT_EQ(main.tbToolBar()->objectName(), QStringLiteral("tbToolBar"));
  const QList<QAction*> buttons = main.tbToolBar()->actions();
  ASSERT_EQ(buttons.size(), 26);
  for (size_t i = 0; i < kExpectedButtons.size(); ++i) {
    const ButtonRow& row = kExpectedButtons[i];
    if (!row.key) {
      EXPECT_TRUE(buttons[i]->isSeparator()) << i;
      continue;
    }
    SCOPED_TRACE(row.key);
    EXPECT_EQ(buttons[i]->objectName(), QString::fromLatin1(row.key));
    EXPECT_EQ(buttons[i]->toolTip(), QString::fromUtf8(row.toolTip));
    EXPECT_FALSE(buttons[i]->icon().isNull());
  }
}

TEST_F(FrmMainTest, ResultCommandsStartDisabledAndNothingElse) {
  frmMain& main = OpenFrame();
  for (const char* name : {"mnuFileSave", "ResultsSave", "mnuFilePrint", "Printer", "mnuEditUrlList", "UrlList"})
    EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : {"mnuFileOpen", "mnuFileExit", "AaAnalize", "mnuViewMonth", "Options", "AboutVorel"})
    EXPECT_TRUE(Enabled(name)) << name;
  main.EnableResultCommands(true);
  for (const char* name : {"mnuFileSave", "ResultsSave", "mnuFilePrint", "Printer", "mnuEditUrlList", "UrlList"})
    EXPECT_TRUE(Enabled(name)) << name;
}

TEST_F(FrmMainTest, VisibleWindowZeroOpensNoWindow) {
  settings::SetParam("VisibleWindow", 0);
  OpenFrame();
  EXPECT_TRUE(OpenWindowNames().empty());
}

TEST_F(FrmMainTest, VisibleWindow1025OpensThePageGraphAndTheSummary) {
  settings::SetParam("VisibleWindow", 1025);
  OpenFrame();
  EXPECT_EQ(OpenWindowNames(), (std::vector<QString>{QStringLiteral("frmPage"), QStringLiteral("frmBase")}));
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmBase"));
}

TEST_F(FrmMainTest, VisibleWindow4095OpensAllTwelveInOrderWithTheSummaryActive) {
  OpenFrame();  // 4095 is the default
  EXPECT_EQ(OpenWindowNames(),
            (std::vector<QString>{"frmPage", "frmRef", "frmHost", "frmAgent", "frmBrws", "frmOs", "frmTime",
                                  "frmDate", "frmDWeek", "frmWWeek", "frmMonth", "frmBase"}));
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmBase"));
}

TEST_F(FrmMainTest, ClosingRecordsTheOpenWindowsAndSavesTheSettingsFile) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  main.mnuViewMonth_Click();
  main.mnuViewBase_Click();
  main.mnuViewHost_Click();
  main.SubWindow(ResultSlot::Host)->close();
  main.mnuFileExit_Click();
  EXPECT_EQ(settings::ParamInt("VisibleWindow"), 3);
  ReloadSettingsFile();
  EXPECT_EQ(settings::ParamInt("VisibleWindow"), 3);
}

TEST_F(FrmMainTest, ToolbarSwitchIsKeptAcrossRuns) {
  settings::SetParam("MainToolbar", settings::ParamInput{false});
  frmMain& main = OpenFrame();
  QAction* item = main.MenuItem("mnuViewToolbar");
  EXPECT_FALSE(main.tbToolBar()->isVisible());
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(settings::ParamFlag("MainToolbar"));

  item->trigger();
  EXPECT_TRUE(main.tbToolBar()->isVisible());
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(settings::ParamFlag("MainToolbar"));

  main.mnuViewToolbar_Click();
  EXPECT_FALSE(main.tbToolBar()->isVisible());
  main.close();
  ReloadSettingsFile();
  EXPECT_FALSE(settings::ParamFlag("MainToolbar"));
}

TEST_F(FrmMainTest, ChoosingAnOpenWindowActivatesItWithoutASecondCopy) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  main.mnuViewMonth_Click();
  main.mnuViewBase_Click();
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmBase"));
  main.tbToolBar_ButtonClick(QStringLiteral("MonthWindow"));
  EXPECT_EQ(OpenWindowNames().size(), 2u);
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmMonth"));

  // Closed, it opens anew.
  main.SubWindow(ResultSlot::Month)->close();
  QApplication::processEvents();
  EXPECT_FALSE(main.IsResultWindowOpen(ResultSlot::Month));
  main.MenuItem("mnuViewMonth")->trigger();
  EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Month));
  EXPECT_EQ(OpenWindowNames().size(), 2u);
}

TEST_F(FrmMainTest, MenuShortcutsWinOverChildWindowsAndTextBoxes) {
  settings::SetParam("VisibleWindow", 3);  // the summary and the month graph
  frmMain& main = OpenFrame();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

  // Ctrl+W is also a child window's own close key; the menu's graph wins.
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Month));
  QTest::keyClick(main.Graph(GraphKind::Month), Qt::Key_W, Qt::ControlModifier);
  EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Brws));
  EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Month));

  // In a text box of the summary window, Ctrl+A and Ctrl+X are the menu's too.
  frmBase* base = main.BaseWindow();
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Base));
  base->cmbFileName->lineEdit()->setFocus(Qt::OtherFocusReason);
  const QString path = base->cmbFileName->currentText();
  ASSERT_FALSE(path.isEmpty());
  QTest::keyClick(base->cmbFileName->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Os));
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Base));
  base->cmbFileName->lineEdit()->setFocus(Qt::OtherFocusReason);
  base->cmbFileName->lineEdit()->selectAll();
  QTest::keyClick(base->cmbFileName->lineEdit(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Agent));
  EXPECT_EQ(base->cmbFileName->currentText(), path);
  // Keys the menu does not use stay the text box's.
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Base));
  base->cmbFileName->lineEdit()->setFocus(Qt::OtherFocusReason);
  base->cmbFileName->lineEdit()->selectAll();
  QTest::keyClick(base->cmbFileName->lineEdit(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), path);
}

TEST_F(FrmMainTest, ToolbarKeysChooseTheirCommandsAndUnknownKeysNothing) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  main.tbToolBar_ButtonClick(QStringLiteral("NoSuchKey"));
  EXPECT_TRUE(OpenWindowNames().empty());
  EXPECT_TRUE(prompter.messages.empty());
  main.ToolbarButton("BaseWindow")->trigger();
  EXPECT_EQ(OpenWindowNames(), std::vector<QString>{QStringLiteral("frmBase")});
  main.ToolbarButton("PageWindow")->trigger();
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmPage"));
}

TEST_F(FrmMainTest, LogFileCommandOpensTheSummaryWithTheChosenPath) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  prompter.files.push_back(std::nullopt);
  main.mnuFileOpen_Click();
  EXPECT_FALSE(main.IsResultWindowOpen(ResultSlot::Base));
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_FALSE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].filter,
            "ログファイル(*.log)|*.log|テキストファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*");

  prompter.files.push_back(std::string("/logs/chosen.log"));
  main.ToolbarButton("LogFileOpen")->trigger();
  ASSERT_TRUE(main.IsResultWindowOpen(ResultSlot::Base));
  EXPECT_EQ(main.BaseWindow()->cmbFileName->currentText(), QStringLiteral("/logs/chosen.log"));
  // The command itself leaves LogFile to the analysis.
  EXPECT_EQ(settings::ParamText("LogFile", 1), dir.File("access.log"));
  // The dialog proposes the last name chosen.
  prompter.files.push_back(std::nullopt);
  main.mnuFileOpen_Click();
  EXPECT_EQ(prompter.fileRequests.back().initialPath, "/logs/chosen.log");
}

TEST_F(FrmMainTest, TileHorizontalStacksTheWindowsAndTileVerticalSetsThemSideBySide) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  main.resize(800, 600);
  main.mnuViewMonth_Click();
  main.mnuViewBase_Click();
  QApplication::processEvents();
  const QRect area = main.mdiArea()->viewport()->rect();
  QMdiSubWindow* base = main.SubWindow(ResultSlot::Base);
  QMdiSubWindow* month = main.SubWindow(ResultSlot::Month);

  main.MenuItem("mnuWindowTileHorizontal")->trigger();
  EXPECT_EQ(base->geometry(), QRect(0, 0, area.width(), area.height() / 2));  // active one first
  EXPECT_EQ(month->geometry(), QRect(0, area.height() / 2, area.width(), area.height() - area.height() / 2));

  main.MenuItem("mnuWindowTileVertical")->trigger();
  EXPECT_EQ(base->geometry(), QRect(0, 0, area.width() / 2, area.height()));
  EXPECT_EQ(month->geometry(), QRect(area.width() / 2, 0, area.width() - area.width() / 2, area.height()));

  main.MenuItem("mnuWindowCascade")->trigger();
  EXPECT_NE(base->pos(), month->pos());
  EXPECT_LT(base->width(), area.width());

  month->showMinimized();
  main.MenuItem("mnuWindowArrangeIcons")->trigger();
  EXPECT_EQ(month->geometry().bottom(), area.bottom());
  EXPECT_EQ(month->x(), 0);
}

TEST_F(FrmMainTest, WindowMenuListsTheOpenWindowsAndActivatesTheChosenOne) {
  settings::SetParam("VisibleWindow", 0);
  frmMain& main = OpenFrame();
  main.mnuViewBase_Click();
  main.mnuViewMonth_Click();
  main.UpdateWindowList();
  QMenu* windowMenu = main.menuBar()->findChild<QMenu*>(QStringLiteral("mnuWindow"));
  QList<QAction*> list;
  for (QAction* action : windowMenu->actions())
    if (action->objectName() == QLatin1String("mnuWindowList")) list << action;
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list[0]->text(), QStringLiteral("&1 解析情報"));
  EXPECT_FALSE(list[0]->isChecked());
  EXPECT_TRUE(list[1]->isChecked());
  list[0]->trigger();
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmBase"));

  // Rebuilt, not appended to.
  main.UpdateWindowList();
  int count = 0;
  for (QAction* action : windowMenu->actions()) count += action->objectName() == QLatin1String("mnuWindowList");
  EXPECT_EQ(count, 2);
}

TEST_F(FrmMainTest, AboutBoxShowsVersionBuildAndCompanionVersion) {
  EXPECT_EQ(AboutVersionText(1, 40, "135", "2.10"), QStringLiteral("Version 1.40 (Build: 135)\n (DLL: Ver 2.10)"));
  EXPECT_EQ(AboutVersionText(1, 0, "7", ""), QStringLiteral("Version 1.00 (Build: 7)\n (DLL: Ver )"));

  settings::SetParam("DllVersion", "1.00");
  frmMain& main = OpenFrame();
  QString caption, title, version, close;
  bool isDefault = false;
  QTimer::singleShot(0, [&] {
    QWidget* about = QApplication::activeModalWidget();
    ASSERT_NE(about, nullptr);
    caption = about->windowTitle();
    title = about->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
    version = about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOk"));
    close = ok->text();
    isDefault = ok->isDefault();
    ok->click();
  });
  main.ToolbarButton("AboutVorel")->trigger();
  EXPECT_EQ(caption, QStringLiteral("バージョン情報"));
  EXPECT_EQ(title, QStringLiteral("ＨＰアクセス解析ソフト"));
  EXPECT_TRUE(version.startsWith(QStringLiteral("Version 1.00 (Build: ")));
  EXPECT_TRUE(version.endsWith(QStringLiteral(")\n (DLL: Ver 1.00)")));
  EXPECT_EQ(close, QStringLiteral("閉じる(&C)"));
  EXPECT_TRUE(isDefault);
}

TEST_F(FrmMainTest, HelpContentsOpensTheHelpWindowOrReportsAMissingHelpFile) {
  frmMain& main = OpenFrame();
  main.MenuItem("mnuHelpContents")->trigger();
  QWidget* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("frmHelp") && w->isVisible()) help = w;
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"))->toPlainText().contains(
      QStringLiteral("ＨＰアクセス解析 ヘルプ")));
  EXPECT_TRUE(prompter.messages.empty());

  platform::SetHelpFile(dir.File("vorel.hlp"));
  main.mnuHelpContents_Click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(prompter.messages[0].text, "ヘルプファイルが見つかりません。\r\n" + dir.File("vorel.hlp"));
}

}  // namespace
}  // namespace vorel::ui
