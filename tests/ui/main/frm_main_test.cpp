// The frame: its menu bar and toolbar as designed, the result windows it
// opens at load and records at close, the toolbar switch, window commands,
// the log-file command, help and the About box.
#include <QClipboard>
#include <QDir>
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

#include "platform/qt/qt_prompter.h"
#include "settings/settings_file.h"
#include "support/test_files.h"
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
      {"mnuViewRobot", "ロボット別(&Y)...", "Ctrl+Y"},
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

TEST_F(FrmMainTest, VisibleWindow8191OpensAllThirteenInOrderWithTheSummaryActive) {
  OpenFrame();  // 8191 is the default
  EXPECT_EQ(OpenWindowNames(),
            (std::vector<QString>{"frmRobot", "frmPage", "frmRef", "frmHost", "frmAgent", "frmBrws", "frmOs",
                                  "frmTime", "frmDate", "frmDWeek", "frmWWeek", "frmMonth", "frmBase"}));
  EXPECT_EQ(ActiveWindowName(), QStringLiteral("frmBase"));
}

TEST_F(FrmMainTest, AStoredVisibleWindowOfTheTwelveWindowsBeforeTheRobotsKeepsItsMeaning) {
  settings::SetParam("VisibleWindow", 4095);
  OpenFrame();
  EXPECT_EQ(OpenWindowNames().size(), 12u);
  EXPECT_EQ(OpenWindowNames().front(), QStringLiteral("frmPage"));
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

// A key pressed in the summary's file-name box: what the box then holds and
// what the clipboard holds. Before each press the box holds "abc", all of it
// selected unless the row says otherwise, and the clipboard holds "zz".
struct TextBoxKeyRow {
  Qt::Key key;
  bool selectedBefore;
  const char* typedBefore;  // typed over the selection before the key, or null
  const char* textAfter;
  const char* selectedAfter;
  const char* clipboardAfter;
};

TEST_F(FrmMainTest, InATextBoxTheEditingKeysEditElsewhereTheMenuKeysOpenTheirGraphs) {
  settings::SetParam("VisibleWindow", 3);  // the summary and the month graph
  frmMain& main = OpenFrame();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  frmBase* base = main.BaseWindow();
  QLineEdit* box = base->cmbFileName->lineEdit();

  const TextBoxKeyRow rows[] = {
      {Qt::Key_A, false, nullptr, "abc", "abc", "zz"},
      {Qt::Key_X, true, nullptr, "", "", "abc"},
      {Qt::Key_C, true, nullptr, "abc", "abc", "abc"},
      {Qt::Key_V, true, nullptr, "zz", "", "zz"},
      {Qt::Key_Z, true, "q", "abc", "abc", "zz"},
  };
  for (const TextBoxKeyRow& row : rows) {
    SCOPED_TRACE(QKeySequence(row.key).toString().toStdString());
    main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Base));
    box->setFocus(Qt::OtherFocusReason);
    box->setText(QStringLiteral("abc"));
    if (row.selectedBefore) box->selectAll();
    else box->deselect();
    if (row.typedBefore) QTest::keyClicks(box, QString::fromUtf8(row.typedBefore));
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    QTest::keyClick(box, row.key, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QString::fromUtf8(row.textAfter));
    EXPECT_EQ(box->selectedText(), QString::fromUtf8(row.selectedAfter));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(row.clipboardAfter));
    EXPECT_EQ(OpenWindowNames().size(), 2u);
  }

  // Outside a text box the same keys are the graph commands', and Ctrl+W,
  // also a child window's own close key, opens the browser graph.
  const std::pair<Qt::Key, ResultSlot> commands[] = {
      {Qt::Key_A, ResultSlot::Os}, {Qt::Key_X, ResultSlot::Agent}, {Qt::Key_W, ResultSlot::Brws}};
  for (const auto& [key, slot] : commands) {
    main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Month));
    QTest::keyClick(main.Graph(GraphKind::Month), key, Qt::ControlModifier);
    EXPECT_TRUE(main.IsResultWindowOpen(slot)) << QKeySequence(key).toString().toStdString();
    EXPECT_TRUE(main.IsResultWindowOpen(ResultSlot::Month));
  }
}

TEST_F(FrmMainTest, CtrlF4ClosesTheActiveChildWindowOnly) {
  settings::SetParam("VisibleWindow", 3);
  frmMain& main = OpenFrame();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  main.mdiArea()->setActiveSubWindow(main.SubWindow(ResultSlot::Month));
  QTest::keyClick(main.Graph(GraphKind::Month), Qt::Key_F4, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_FALSE(main.IsResultWindowOpen(ResultSlot::Month));
  EXPECT_EQ(OpenWindowNames(), std::vector<QString>{QStringLiteral("frmBase")});
  // In a text box, too, it closes the window around it.
  main.BaseWindow()->cmbFileName->lineEdit()->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(main.BaseWindow()->cmbFileName->lineEdit(), Qt::Key_F4, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_TRUE(OpenWindowNames().empty());
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
  EXPECT_EQ(prompter.fileRequests[0].filter, kLogFileFilter);

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

// The log-file dialog's choices, each with the files of one folder it shows.
struct FilterRow {
  const char* description;
  std::vector<QString> shown;
};

TEST_F(FrmMainTest, LogFileDialogChoicesShowTheServersLogsAndItStartsInTheCurrentLogsFolder) {
  testing::TempDir logs;
  for (const char* name : {"access_log", "access.log.1", "access.log.2.gz", "error.log.3.bz2", "mine.log", "notes.txt",
                           "old.xz", "new.zst"})
    logs.Write(name, "x");
  const FilterRow rows[] = {
      {"ログファイル", {"mine.log"}},
      {"サーバーのログ", {"access.log.1", "access.log.2.gz", "access_log", "error.log.3.bz2", "new.zst", "old.xz"}},
      {"テキストファイル", {"notes.txt"}},
      {"すべてのファイル",
       {"access.log.1", "access.log.2.gz", "access_log", "error.log.3.bz2", "mine.log", "new.zst", "notes.txt", "old.xz"}},
  };
  // Each choice as the dialog gets it: "description (patterns)".
  const QStringList choices = platform::QtFileFilter(kLogFileFilter).split(QStringLiteral(";;"));
  ASSERT_EQ(choices.size(), static_cast<qsizetype>(std::size(rows)));
  for (qsizetype i = 0; i < choices.size(); ++i) {
    const FilterRow& row = rows[i];
    EXPECT_TRUE(choices[i].startsWith(QString::fromUtf8(row.description))) << choices[i].toStdString();
    const QString patterns = choices[i].section(QLatin1Char('('), -1).chopped(1);
    const QStringList shown = QDir(QString::fromStdString(logs.path()))
                                  .entryList(patterns.split(QLatin1Char(' ')), QDir::Files, QDir::Name);
    EXPECT_EQ(std::vector<QString>(shown.begin(), shown.end()), row.shown) << choices[i].toStdString();
  }

  // The dialog opens at the log the summary window names.
  settings::SetParam("VisibleWindow", 1);
  frmMain& main = OpenFrame();
  main.BaseWindow()->cmbFileName->setEditText(QString::fromStdString(logs.File("access_log")));
  prompter.files.push_back(std::nullopt);
  main.mnuFileOpen_Click();
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].initialPath, logs.File("access_log"));
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
