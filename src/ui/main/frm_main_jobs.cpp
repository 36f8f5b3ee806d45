// The frame's long work on a worker thread: the commands held off while it
// runs, the question when the frame is closed meanwhile, and the orderly end
// on an interrupting signal.
#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <utility>
#include <vector>

#include "platform/prompter.h"
#include "platform/safe_file.h"
#include "ui/jobs/background_job.h"
#include "ui/main/frm_main.h"

namespace vorel::ui {
namespace {

// The commands that would change the result, the settings or the log.
constexpr const char* kHeldCommands[] = {"mnuFileOpen", "LogFileOpen", "mnuFileRegSave", "RegSave",  "mnuEditFtp",
                                         "FtpGet",      "AaAnalize",   "mnuViewOptions", "Options"};

// Switches commands off and gives each its former state back.
class CommandsHeld {
 public:
  void Hold(QAction* action) {
    if (!action) return;
    held_.emplace_back(action, action->isEnabled());
    action->setEnabled(false);
  }
  ~CommandsHeld() {
    for (const auto& [action, enabled] : held_) action->setEnabled(enabled);
  }

 private:
  std::vector<std::pair<QAction*, bool>> held_;
};

}  // namespace

void frmMain::RunJob(jobs::BackgroundJob& job, const char* closeQuestion, const std::function<void()>& work) {
  {
    CommandsHeld held;
    for (const char* name : kHeldCommands) held.Hold(MenuItem(name) ? MenuItem(name) : ToolbarButton(name));
    for (QAction* item : mnuEditAnalize_) held.Hold(item);
    runningJob_ = &job;
    closeQuestion_ = closeQuestion;
    try {
      job.Run(work);
    } catch (...) {
      runningJob_ = nullptr;
      throw;
    }
    runningJob_ = nullptr;
  }
  if (!busy_) EndCommand();
}

bool frmMain::AskToStopRunningJob() { return platform::AskYesNo(closeQuestion_, kProgramTitle); }

void frmMain::EndCommand() {
  busy_ = false;
  if (closeAfterJob_) QTimer::singleShot(0, this, [this] { close(); });
}

void frmMain::CloseForSignal(int exitCode) {
  closeAfterJob_ = true;
  signalExitCode_ = exitCode;
  if (runningJob_) {
    // The work stops within a moment (and takes its temporary file with it);
    // the frame closes once it has.
    runningJob_->Cancel();
    QTimer::singleShot(10, this, [this, exitCode] { CloseForSignal(exitCode); });
    return;
  }
  close();
  platform::RemoveTemporaryFilesInProgress();
  QCoreApplication::exit(exitCode);
}

}  // namespace vorel::ui
