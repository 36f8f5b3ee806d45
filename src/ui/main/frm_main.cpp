// The frame's life: construction, the load step, the result-command switches,
// and the closing and unloading steps that keep the windows and the settings.
#include "ui/main/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QToolBar>

#include "settings/param_store.h"
#include "settings/registry_settings.h"
#include "settings/settings_file.h"
#include "settings/startup.h"
#include "ui/jobs/background_job.h"
#include "ui/main/menu_shortcuts.h"
#include "ui/results/frm_base.h"

namespace vorel::ui {

frmMain::frmMain() {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromUtf8(kProgramTitle));
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  CreateMenus();
  CreateToolbar();
  // Ctrl+F4 closes the active child window; the children's own close keys yield to it.
  auto* closeChild = new QAction(this);
  closeChild->setObjectName(QStringLiteral("CloseChildWindow"));
  closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
  closeChild->setShortcutContext(Qt::WindowShortcut);
  connect(closeChild, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
  addAction(closeChild);
  menuShortcuts_ = new MenuShortcutPriority(this);
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  LoadToolbarImages();
  setWindowIcon(imlIcons_.value(QStringLiteral("AaAnalize")));
  const int visible = settings::ParamInt("VisibleWindow");
  EnableResultCommands(false);
  if (!settings::ParamFlag("MainToolbar")) mnuViewToolbar_Click();
  for (ResultSlot slot : kOpeningOrder)
    if (visible & VisibleBit(slot)) OpenResultWindow(slot);
}

void frmMain::EnableResultCommands(bool enabled) {
  for (const char* name : {"mnuFileSave", "ResultsSave", "mnuFilePrint", "Printer", "mnuEditUrlList", "UrlList"}) {
    QAction* action = MenuItem(name) ? MenuItem(name) : ToolbarButton(name);
    if (action) action->setEnabled(enabled);
  }
}

void frmMain::EnableRegistryExport(bool enabled) {
  MenuItem("mnuFileRegSave")->setEnabled(enabled);
  ToolbarButton("RegSave")->setEnabled(enabled);
}

void frmMain::mnuViewToolbar_Click() { MenuItem("mnuViewToolbar")->trigger(); }

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::closeEvent(QCloseEvent* event) {
  const bool endingBySignal = signalExitCode_ != 0;
  if (runningJob_ && !endingBySignal) {
    event->ignore();
    if (closeAfterJob_ || !AskToStopRunningJob()) return;
    closeAfterJob_ = true;
    // The work may have ended while the question was up.
    if (runningJob_) runningJob_->Cancel();
    else if (!busy_) EndCommand();
    return;
  }
  // A command that is still winding up (its messages) closes the frame when it is done.
  if (busy_ && !endingBySignal) {
    event->ignore();
    closeAfterJob_ = true;
    return;
  }
  if (unloaded_) {
    event->accept();
    return;
  }
  Form_QueryUnload();
  // The children unload first; the summary window stores its fields on the way.
  mdiArea_->closeAllSubWindows();
  Form_Unload();
  unloaded_ = true;
  event->accept();
}

void frmMain::Form_QueryUnload() {
  // A failure here must never keep the frame from closing.
  try {
    int visible = 0;
    for (ResultSlot slot : kCollectingOrder)
      if (IsResultWindowOpen(slot)) visible += VisibleBit(slot);
    settings::SetParam("VisibleWindow", visible);
  } catch (...) {
  }
}

void frmMain::Form_Unload() {
  try {
    // A minimised or maximised frame keeps the last normal size for the next start.
    if (!isMinimized() && !isMaximized() && !isFullScreen()) {
      settings::SetParam("MainWidth", width() * 15);
      settings::SetParam("MainHeight", height() * 15);
    }
    const auto initInfo = settings::GetInitInfo("InitInfo");
    const bool useFile = !std::holds_alternative<bool>(initInfo) || std::get<bool>(initInfo);
    if (useFile) settings::SaveParamsToFile();
    else settings::SaveParamsToRegistry();
  } catch (...) {
    // The save routines report their own failures; the program ends all the same.
  }
}

}  // namespace vorel::ui
