// The frame's menu bar and toolbar, built from the tables of items and buttons.
#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "settings/param_store.h"
#include "ui/main/frm_main.h"

// Resources of a static library are registered by hand.
static void InitToolbarIcons() { Q_INIT_RESOURCE(toolbar_icons); }

namespace vorel::ui {
namespace {

using Command = void (frmMain::*)();

struct MenuItemDef {
  const char* name;
  const char* caption;  // "-" is a separator line
  const char* shortcut;
  Command command;
};

struct MenuDef {
  const char* name;
  const char* caption;
  std::initializer_list<MenuItemDef> items;
};

// mnuEditAnalize is an array of two items; it is added by hand where the null name stands.
const MenuDef kMenus[] = {
    {"mnuFile",
     "ファイル(&F)",
     {{"mnuFileOpen", "ログファイル(&O)...", "", &frmMain::mnuFileOpen_Click},
      {"mnuFileAddHistory", "履歴に追加...", "", &frmMain::mnuFileAddHistory_Click},
      {"mnuFileSave", "結果保存(&S)...", "Ctrl+S", &frmMain::mnuFileSave_Click},
      {"mnuFileBar1", "-", "", nullptr},
      {"mnuFileRegSave", "レジストリ書き出し(&R)...", "", &frmMain::mnuFileRegSave_Click},
      {"mnuFileBar2", "-", "", nullptr},
      {"mnuFilePageSetup", "ページ設定(&U)...", "", &frmMain::mnuFilePageSetup_Click},
      {"mnuFilePrint", "印刷(&P)...", "Ctrl+P", &frmMain::mnuFilePrint_Click},
      {"mnuFileBar3", "-", "", nullptr},
      {"mnuFileExit", "終了(&X)", "", &frmMain::mnuFileExit_Click}}},
    {"mnuEdit",
     "編集(&E)",
     {{nullptr, "", "", nullptr},
      {"mnuEditBar1", "-", "", nullptr},
      {"mnuEditFtp", "簡易ＦＴＰ(&F)...", "Ctrl+F", &frmMain::mnuEditFtp_Click},
      {"mnuEditUrlList", "ＵＲＬ一覧(&U)...", "Ctrl+U", &frmMain::mnuEditUrlList_Click}}},
    {"mnuView",
     "表示(&V)",
     {{"mnuViewToolbar", "ツールバー(&T)", "", nullptr},
      {"mnuViewBar1", "-", "", nullptr},
      {"mnuViewBase", "解析情報(&B)...", "Ctrl+B", &frmMain::mnuViewBase_Click},
      {"mnuViewMonth", "月別(&M)...", "Ctrl+M", &frmMain::mnuViewMonth_Click},
      {"mnuViewWWeek", "週別(&E)...", "Ctrl+E", &frmMain::mnuViewWWeek_Click},
      {"mnuViewDWeek", "曜日別(&K)...", "Ctrl+K", &frmMain::mnuViewDWeek_Click},
      {"mnuViewDate", "日付別(&D)...", "Ctrl+D", &frmMain::mnuViewDate_Click},
      {"mnuViewTime", "時間別(&N)...", "Ctrl+N", &frmMain::mnuViewTime_Click},
      {"mnuViewOS", "ＯＳ別(&S)...", "Ctrl+A", &frmMain::mnuViewOS_Click},
      {"mnuViewBrws", "ブラウザ別(&W)...", "Ctrl+W", &frmMain::mnuViewBrws_Click},
      {"mnuViewAgent", "エージェント別(&X)", "Ctrl+X", &frmMain::mnuViewAgent_Click},
      {"mnuViewHost", "ホスト名別(&H)...", "Ctrl+H", &frmMain::mnuViewHost_Click},
      {"mnuViewRef", "前画面別(&R)...", "Ctrl+R", &frmMain::mnuViewRef_Click},
      {"mnuViewPage", "ページ別(&G)...", "Ctrl+G", &frmMain::mnuViewPage_Click},
      {"mnuViewRobot", "ロボット別(&Y)...", "Ctrl+Y", &frmMain::mnuViewRobot_Click},
      {"mnuViewBar2", "-", "", nullptr},
      {"mnuViewRefresh", "再描画(&L)", "F5", &frmMain::mnuViewRefresh_Click},
      {"mnuViewBar3", "-", "", nullptr},
      {"mnuViewOptions", "オプション(&O)...", "Ctrl+O", &frmMain::mnuViewOptions_Click}}},
    {"mnuWindow",
     "ウィンドウ(&W)",
     {{"mnuWindowCascade", "重ねて表示(&C)", "", &frmMain::mnuWindowCascade_Click},
      {"mnuWindowTileHorizontal", "上下に並べて表示(&H)", "", &frmMain::mnuWindowTileHorizontal_Click},
      {"mnuWindowTileVertical", "左右に並べて表示(&V)", "", &frmMain::mnuWindowTileVertical_Click},
      {"mnuWindowArrangeIcons", "アイコンの整列(&A)", "", &frmMain::mnuWindowArrangeIcons_Click}}},
    {"mnuHelp",
     "ヘルプ(&H)",
     {{"mnuHelpContents", "トピックの検索(&S)...", "", &frmMain::mnuHelpContents_Click},
      {"mnuHelpBar1", "-", "", nullptr},
      {"mnuHelpAbout", "バージョン情報(&A)...", "", &frmMain::mnuHelpAbout_Click}}},
};

struct ToolbarButtonDef {
  const char* key;
  const char* toolTip;
  bool separatorAfter;
};

const ToolbarButtonDef kToolbarButtons[] = {
    {"LogFileOpen", "ログファイルを開く", false},
    {"ResultsSave", "解析結果を保存", false},
    {"RegSave", "レジストリ設定の書き出し", false},
    {"Printer", "印刷", false},
    {"Exit", "終了", true},
    {"AaAnalize", "アクセス解析", false},
    {"FtpGet", "簡易ＦＴＰ", false},
    {"UrlList", "ＵＲＬ一覧", true},
    {"BaseWindow", "解析情報", false},
    {"MonthWindow", "月別アクセス", false},
    {"WWeekWindow", "週別アクセス", false},
    {"DWeekWindow", "曜日別アクセス", false},
    {"DateWindow", "日付別アクセス", false},
    {"TimeWindow", "時間別アクセス", false},
    {"OSWindow", "ＯＳ別アクセス", false},
    {"BrwsWindow", "ブラウザ別アクセス", false},
    {"AgentWindow", "エージェント別アクセス", false},
    {"HostWindow", "ホスト名別アクセス", false},
    {"RefWindow", "前画面別アクセス", false},
    {"PageWindow", "ページ別アクセス", true},
    {"Options", "オプション設定", true},
    {"AboutVorel", "バージョン情報", false},
};

}  // namespace

void frmMain::CreateMenus() {
  for (const MenuDef& menuDef : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuDef.caption));
    menu->setObjectName(QString::fromLatin1(menuDef.name));
    menu->menuAction()->setObjectName(QString::fromLatin1(menuDef.name));
    menuItems_.insert(QString::fromLatin1(menuDef.name), menu->menuAction());
    if (QLatin1String(menuDef.name) == QLatin1String("mnuWindow")) mnuWindow_ = menu;
    for (const MenuItemDef& item : menuDef.items) {
      if (!item.name) {
        const char* captions[2] = {"新規解析(&N)", "追加解析(&A)"};
        for (int index = 0; index < 2; ++index) {
          QAction* action = menu->addAction(QString::fromUtf8(captions[index]));
          action->setObjectName(QStringLiteral("mnuEditAnalize"));
          action->setProperty("Index", index);
          if (index == 0) action->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
          connect(action, &QAction::triggered, this, [this, index] { mnuEditAnalize_Click(static_cast<int16_t>(index)); });
          mnuEditAnalize_[index] = action;
        }
        continue;
      }
      QAction* action = QLatin1String(item.caption) == QLatin1String("-")
                            ? menu->addSeparator()
                            : menu->addAction(QString::fromUtf8(item.caption));
      action->setObjectName(QString::fromLatin1(item.name));
      if (*item.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
      if (item.command) {
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
      }
      menuItems_.insert(action->objectName(), action);
    }
  }

  // The toolbar item carries its check mark from the start; choosing it flips the mark.
  QAction* toolbarItem = menuItems_.value(QStringLiteral("mnuViewToolbar"));
  toolbarItem->setCheckable(true);
  toolbarItem->setChecked(true);
  connect(toolbarItem, &QAction::triggered, this, [this](bool checked) {
    tbToolBar_->setVisible(checked);
    settings::SetParam("MainToolbar", settings::ParamInput{checked});
  });

  // The list of open child windows at the end of the Window menu.
  windowList_ = new QActionGroup(this);
  windowList_->setExclusive(true);
  connect(mnuWindow_, &QMenu::aboutToShow, this, &frmMain::UpdateWindowList);
}

void frmMain::CreateToolbar() {
  InitToolbarIcons();
  tbToolBar_ = addToolBar(QStringLiteral("ツールバー"));
  tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
  tbToolBar_->setMovable(false);
  tbToolBar_->setFloatable(false);
  tbToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tbToolBar_->setIconSize(QSize(16, 16));
  // Only the View menu shows and hides the toolbar, so that MainToolbar stays true to it.
  tbToolBar_->toggleViewAction()->setVisible(false);
  tbToolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  setContextMenuPolicy(Qt::NoContextMenu);

  for (const ToolbarButtonDef& def : kToolbarButtons) {
    const QString key = QString::fromLatin1(def.key);
    QAction* button = tbToolBar_->addAction(QString::fromUtf8(def.toolTip));
    button->setObjectName(key);
    button->setToolTip(QString::fromUtf8(def.toolTip));
    connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    toolbarButtons_.insert(key, button);
    imlIcons_.insert(key, QIcon(QStringLiteral(":/toolbar/") + key + QStringLiteral(".png")));
    if (def.separatorAfter) tbToolBar_->addSeparator();
  }
  // The button that shows the buttons a narrow window cannot hold.
  if (auto* more = tbToolBar_->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setAccessibleName(QStringLiteral("ツールバーの残りのボタン"));
}

void frmMain::LoadToolbarImages() {
  for (QAction* button : tbToolBar_->actions()) {
    if (button->isSeparator()) continue;
    button->setIcon(imlIcons_.value(button->objectName()));
  }
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
  static const QHash<QString, Command> commands = {
      {QStringLiteral("LogFileOpen"), &frmMain::mnuFileOpen_Click},
      {QStringLiteral("ResultsSave"), &frmMain::mnuFileSave_Click},
      {QStringLiteral("RegSave"), &frmMain::mnuFileRegSave_Click},
      {QStringLiteral("Printer"), &frmMain::mnuFilePrint_Click},
      {QStringLiteral("Exit"), &frmMain::mnuFileExit_Click},
      {QStringLiteral("FtpGet"), &frmMain::mnuEditFtp_Click},
      {QStringLiteral("UrlList"), &frmMain::mnuEditUrlList_Click},
      {QStringLiteral("BaseWindow"), &frmMain::mnuViewBase_Click},
      {QStringLiteral("MonthWindow"), &frmMain::mnuViewMonth_Click},
      {QStringLiteral("WWeekWindow"), &frmMain::mnuViewWWeek_Click},
      {QStringLiteral("DWeekWindow"), &frmMain::mnuViewDWeek_Click},
      {QStringLiteral("DateWindow"), &frmMain::mnuViewDate_Click},
      {QStringLiteral("TimeWindow"), &frmMain::mnuViewTime_Click},
      {QStringLiteral("OSWindow"), &frmMain::mnuViewOS_Click},
      {QStringLiteral("BrwsWindow"), &frmMain::mnuViewBrws_Click},
      {QStringLiteral("AgentWindow"), &frmMain::mnuViewAgent_Click},
      {QStringLiteral("HostWindow"), &frmMain::mnuViewHost_Click},
      {QStringLiteral("RefWindow"), &frmMain::mnuViewRef_Click},
      {QStringLiteral("PageWindow"), &frmMain::mnuViewPage_Click},
      {QStringLiteral("Options"), &frmMain::mnuViewOptions_Click},
      {QStringLiteral("AboutVorel"), &frmMain::mnuHelpAbout_Click},
  };
  if (key == QLatin1String("AaAnalize")) {
    mnuEditAnalize_Click(0);
    return;
  }
  if (const auto it = commands.find(key); it != commands.end()) (this->*it.value())();
}

QAction* frmMain::MenuItem(const char* name) const { return menuItems_.value(QString::fromLatin1(name)); }
QAction* frmMain::ToolbarButton(const char* key) const { return toolbarButtons_.value(QString::fromLatin1(key)); }

}  // namespace vorel::ui
