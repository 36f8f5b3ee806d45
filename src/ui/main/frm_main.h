// The program's frame "ＨＰアクセス解析": an MDI frame with the menu bar, the
// toolbar tbToolBar and the result windows as children. Every command starts
// here. Menu items and toolbar buttons are QActions named as the items
// ("mnuFileSave") and as the button keys ("ResultsSave"); the two items of
// the array mnuEditAnalize share that name and carry the property "Index".
#pragma once

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/main/result_windows.h"

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vorel::ui {

namespace jobs {
class BackgroundJob;
}

class frmBase;
class GraphWindow;
class MenuShortcutPriority;

// The program's title, used for the frame and for its questions.
inline constexpr const char* kProgramTitle = "ＨＰアクセス解析";

// The last choice of every file dialog: any name, with or without a dot.
#define VOREL_ALL_FILES_FILTER "|すべてのファイル (*)|*"
// The log-file dialog's choices: the record logs, the web server's logs as
// they are named and rotated (access_log, access.log.1, access.log.2.gz …),
// text files, and any file.
inline constexpr const char* kLogFileFilter =
    "ログファイル(*.log)|*.log"
    "|サーバーのログ (access_log* access.log* *.gz *.bz2 *.xz *.zst)|access_log*;access.log*;*.gz;*.bz2;*.xz;*.zst"
    "|テキストファイル (*.txt)|*.txt" VOREL_ALL_FILES_FILTER;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  frmMain();
  ~frmMain() override;

  // The load step, run once the settings are loaded: toolbar images, result
  // commands off, toolbar as MainToolbar says, the windows of VisibleWindow.
  void Form_Load();

  // Save, print and URL list: menu items and toolbar buttons together.
  void EnableResultCommands(bool enabled);
  // The registry export command: on exactly when the settings live in the registry.
  void EnableRegistryExport(bool enabled);

  // --- commands (menu items; toolbar buttons lead to the same) ---
  void mnuFileOpen_Click();
  // Adds the current log to a history file the user chooses.
  void mnuFileAddHistory_Click();
  void mnuFileSave_Click();
  void mnuFileRegSave_Click();
  void mnuFilePageSetup_Click();
  void mnuFilePrint_Click();
  void mnuFileExit_Click();
  // Index 0 new analysis, 1 additional analysis.
  void mnuEditAnalize_Click(int16_t Index);
  void mnuEditFtp_Click();
  void mnuEditUrlList_Click();
  void mnuViewToolbar_Click();
  void mnuViewBase_Click() { ShowResultWindow(ResultSlot::Base); }
  void mnuViewMonth_Click() { ShowResultWindow(ResultSlot::Month); }
  void mnuViewWWeek_Click() { ShowResultWindow(ResultSlot::WWeek); }
  void mnuViewDWeek_Click() { ShowResultWindow(ResultSlot::DWeek); }
  void mnuViewDate_Click() { ShowResultWindow(ResultSlot::Date); }
  void mnuViewTime_Click() { ShowResultWindow(ResultSlot::Time); }
  void mnuViewOS_Click() { ShowResultWindow(ResultSlot::Os); }
  void mnuViewBrws_Click() { ShowResultWindow(ResultSlot::Brws); }
  void mnuViewAgent_Click() { ShowResultWindow(ResultSlot::Agent); }
  void mnuViewHost_Click() { ShowResultWindow(ResultSlot::Host); }
  void mnuViewRef_Click() { ShowResultWindow(ResultSlot::Ref); }
  void mnuViewPage_Click() { ShowResultWindow(ResultSlot::Page); }
  void mnuViewRobot_Click() { ShowResultWindow(ResultSlot::Robot); }
  void mnuViewRefresh_Click();
  void mnuViewOptions_Click();
  void mnuWindowCascade_Click();
  void mnuWindowTileHorizontal_Click();
  void mnuWindowTileVertical_Click();
  void mnuWindowArrangeIcons_Click();
  void mnuHelpContents_Click();
  void mnuHelpAbout_Click();
  // A toolbar button, chosen by its key; an unknown key does nothing.
  void tbToolBar_ButtonClick(const QString& key);

  // Opens a result window as a child, or activates it when it is open.
  void ShowResultWindow(ResultSlot slot);
  // Whether a result window is open (its show-me flag).
  bool IsResultWindowOpen(ResultSlot slot) const;
  // The summary window, or null when it is closed.
  frmBase* BaseWindow() const;
  // A graph window, or null when it is closed.
  GraphWindow* Graph(GraphKind kind) const;
  QMdiSubWindow* SubWindow(ResultSlot slot) const;

  // The first start, with no settings yet: about two thirds of the screen,
  // centred, and never too small for the whole toolbar or for the summary
  // above two graphs. Called before the frame is shown.
  void PlaceForFirstStart();
  // Tiles the open windows in a grid filling the area (first start).
  void TileInGrid();

  // Analyses a given log: LogFile, no date or page restriction, new analysis.
  void AnalyseFile(const std::string& path);

  // Rebuilds the Window menu's list of open child windows.
  void UpdateWindowList();

  QMdiArea* mdiArea() const { return mdiArea_; }
  QToolBar* tbToolBar() const { return tbToolBar_; }
  QAction* MenuItem(const char* name) const;
  QAction* ToolbarButton(const char* key) const;
  QAction* AnalizeItem(int index) const { return mnuEditAnalize_[index]; }
  bool IsBusy() const { return busy_; }

  // Runs long work of the frame's (an analysis, the start-up download) on a
  // worker thread while the windows stay live. Meanwhile the commands that
  // would change the result, the settings or the log are off, and closing
  // the frame asks `closeQuestion` and, on Yes, stops the work first.
  void RunJob(jobs::BackgroundJob& job, const char* closeQuestion, const std::function<void()>& work);
  // The work running under RunJob, or null.
  jobs::BackgroundJob* RunningJob() const { return runningJob_; }
  // The frame is to close once the running work has stopped.
  bool ClosingRequested() const { return closeAfterJob_; }
  // Ends the program in order on an interrupting signal: stops the running
  // work, then closes as the user would, saving the settings, without
  // asking, removes the temporary files in progress and ends the event
  // loops with `exitCode`.
  void CloseForSignal(int exitCode);
  // The exit code after CloseForSignal, else 0.
  int SignalExitCode() const { return signalExitCode_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool AskToStopRunningJob();
  // The end of a command: not busy any more, and a close asked for meanwhile happens now.
  void EndCommand();
  void CreateMenus();
  void CreateToolbar();
  void LoadToolbarImages();
  QMdiSubWindow* OpenResultWindow(ResultSlot slot);
  void TileChildren(Qt::Orientation stacking);
  // Closing: the open windows into VisibleWindow.
  void Form_QueryUnload();
  // Unloading: the frame's size, then the settings back to where they came from.
  void Form_Unload();
  // The log the summary window names, or LogFile when it is closed.
  std::string CurrentLogPath() const;
  // Asks for a file to write; nothing when cancelled or when an existing file may not be replaced.
  std::optional<std::string> ChooseFileToWrite(const std::string& filter);

  QMdiArea* mdiArea_ = nullptr;
  QToolBar* tbToolBar_ = nullptr;
  QMenu* mnuWindow_ = nullptr;
  QActionGroup* windowList_ = nullptr;
  MenuShortcutPriority* menuShortcuts_ = nullptr;
  QHash<QString, QAction*> menuItems_;
  QHash<QString, QAction*> toolbarButtons_;
  QHash<QString, QIcon> imlIcons_;
  std::array<QAction*, 2> mnuEditAnalize_{};
  std::array<QPointer<QMdiSubWindow>, kResultSlotCount> subWindows_{};
  // The common dialog keeps the last chosen name between uses.
  std::string dlgCommonDialogFileName_;
  bool busy_ = false;
  bool unloaded_ = false;
  jobs::BackgroundJob* runningJob_ = nullptr;
  const char* closeQuestion_ = nullptr;
  bool closeAfterJob_ = false;
  int signalExitCode_ = 0;  // 128 + the signal once one ends the program
};

}  // namespace vorel::ui
