// The analysis command (new or additional analysis) and the redraw command.
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <memory>
#include <optional>
#include <stdexcept>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "ui/jobs/background_job.h"
#include "ui/main/frm_main.h"
#include "ui/main/frm_status.h"
#include "ui/main/repeat_log_question.h"
#include "ui/results/analysed_logs.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_window.h"

namespace vorel::ui {
namespace {

constexpr const char* kStopAnalysisQuestion = "解析中です。解析を中止して終了しますか？";

// A choice of the summary window that the parameter store refuses (an impossible date).
struct SettingsRejected : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Store(std::string_view key, const settings::ParamInput& value) {
  if (settings::SetParam(key, value) != settings::SetParamResult::Ok) throw SettingsRejected(std::string(key));
}

std::string JoinDate(const std::array<QLineEdit*, 3>& boxes) {
  return (boxes[0]->text() + QLatin1Char('/') + boxes[1]->text() + QLatin1Char('/') + boxes[2]->text()).toStdString();
}

// The summary window's choices into the parameter store.
void StoreBaseFields(const frmBase& base) {
  Store("LogFile", base.cmbFileName->currentText().toStdString());
  if (base.chkSpecifyDate->isChecked()) {
    Store("SpecifyDate", false);
  } else {
    Store("SpecifyDate", true);
    Store("StartDate", JoinDate(base.txtStartDate));
    Store("EndDate", JoinDate(base.txtEndDate));
  }
  if (base.chkSpecifyPage->isChecked()) {
    Store("SpecifyPage", false);
  } else {
    Store("SpecifyPage", true);
    Store("Page", base.cmbPage->currentText().toStdString());
  }
}

// The busy pointer for as long as the pass runs; the windows still answer.
class WaitCursor {
 public:
  void Set() {
    if (!set_) QApplication::setOverrideCursor(Qt::BusyCursor);
    set_ = true;
  }
  void Restore() {
    if (set_) QApplication::restoreOverrideCursor();
    set_ = false;
  }
  ~WaitCursor() { Restore(); }

 private:
  bool set_ = false;
};

// The pass's progress into the job, which the progress window follows: a
// position of kProgressRange, or an unknown total for a stream.
class JobProgressReceiver : public analysis::ProgressReceiver {
 public:
  explicit JobProgressReceiver(jobs::BackgroundJob& job) : job_(job) {}
  void aauStatusChange(int16_t piVal) override {
    if (piVal == analysis::kProgressUnknown) job_.SetProgress(0, 0);
    else job_.SetProgress(piVal, analysis::kProgressRange);
  }
  void aauMessageChange(const std::string& psHelpCode) override { job_.SetMessage(psHelpCode); }

 private:
  jobs::BackgroundJob& job_;
};

// The pass on a worker thread, into a result of its own: empty for a new
// analysis, a copy of the shared one for an additional analysis.
struct PassRun {
  analysis::PassOutcome outcome;
  analysis::AnalysisResult result;
};

PassRun RunPassInTheBackground(frmMain& main, int16_t index, frmStatus& status) {
  const analysis::PassRequest request = analysis::ReadPassRequest(index);
  PassRun run;
  if (index == 1) run.result = analysis::Result();
  jobs::BackgroundJob job;
  JobProgressReceiver receiver(job);
  status.Follow(job);
  main.RunJob(job, kStopAnalysisQuestion, [&] {
    const std::atomic<bool>& cancel = job.CancelFlag();
    run.outcome = analysis::RunPass(request, run.result, analysis::PassControl{&receiver, &cancel});
  });
  return run;
}

// Every message the command shows reports a failure, whose result is empty.
// Before the message appears, the windows show that empty result and the
// result commands are off, so no old graph or total stands behind it.
class EmptyResultBeforeMessages : public platform::Prompter {
 public:
  explicit EmptyResultBeforeMessages(frmMain& main) : main_(main), inner_(platform::CurrentPrompter()) {}
  platform::Prompter& Inner() const { return inner_; }

  platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override {
    if (!emptied_) {
      emptied_ = true;
      analysis::ResetResult();
      ForgetAnalysedLogs();
      main_.EnableResultCommands(false);
      main_.mnuViewRefresh_Click();
    }
    return inner_.ShowMessage(request);
  }
  std::optional<std::string> ChooseFile(const platform::FileDialogRequest& request) override {
    return inner_.ChooseFile(request);
  }
  std::optional<uint32_t> ChooseColor(uint32_t initial) override { return inner_.ChooseColor(initial); }
  std::optional<platform::FontChoice> ChooseFont(const platform::FontChoice& initial) override {
    return inner_.ChooseFont(initial);
  }
  std::optional<std::string> ChooseFolder(const platform::FolderDialogRequest& request) override {
    return inner_.ChooseFolder(request);
  }
  std::optional<platform::PrinterSetup> SetupPrinter(const platform::PrinterSetup& current) override {
    return inner_.SetupPrinter(current);
  }

 private:
  frmMain& main_;
  platform::Prompter& inner_;
  bool emptied_ = false;
};

}  // namespace

void frmMain::mnuEditAnalize_Click(int16_t Index) {
  if (busy_) return;
  busy_ = true;
  // Warnings about a result that stands, and the question before an
  // additional analysis, are not failures: they bypass `messages`.
  platform::Prompter& plainMessages = platform::CurrentPrompter();
  EmptyResultBeforeMessages messages(*this);
  platform::ScopedPrompter messageScope(messages);
  WaitCursor cursor;
  std::unique_ptr<frmStatus> status;
  const QPointer<frmBase> base = BaseWindow();
  const bool baseShown = base && base->aabShowMe();

  try {
    if (baseShown) StoreBaseFields(*base);

    const analysis::AnalysisPreparation ready = analysis::PrepareAnalysis();
    if (ready.problem == analysis::LogProblem::MissingLog && baseShown) base->cmbFileName->setFocus();
    const std::string log = settings::ParamText("LogFile", 1);
    if (ready.problem == analysis::LogProblem::None && Index == 1 && !MayAddLogAgain(plainMessages, log)) {
      EndCommand();
      return;
    }
    if (ready.problem == analysis::LogProblem::None) {
      // The window appears with the pass's first position: once the log has
      // proved longer than CheckLine records.
      status = std::make_unique<frmStatus>(this);
      status->aauStausInit(analysis::kProgressRange, "アクセスログ解析中です。");
      cursor.Set();

      PassRun run;
      {
        // What other windows show while the pass runs is none of the command's messages.
        platform::ScopedPrompter others(messages.Inner());
        run = RunPassInTheBackground(*this, Index, *status);
      }
      // The progress window is gone before the figures change or any message appears.
      status->close();
      status.reset();
      cursor.Restore();
      // A cancelled pass leaves the result and every window as they were.
      if (run.outcome.status != analysis::PassStatus::Cancelled) {
        analysis::AnalysisOutcome outcome = analysis::AnalysisOutcome::Failed;
        if (run.outcome.status == analysis::PassStatus::Completed) {
          analysis::Result() = std::move(run.result);
          outcome = analysis::JudgeCompletedPass();
        } else {
          analysis::ShowPassError(run.outcome);
          analysis::ResetResult();
        }
        const bool counted = outcome == analysis::AnalysisOutcome::Counted;
        EnableResultCommands(counted);
        if (!counted) ForgetAnalysedLogs();
        else if (Index == 1) RecordAdditionalAnalysis(log);
        else RecordNewAnalysis(log);
        mnuViewRefresh_Click();
        analysis::WarnIfLogEndedEarly(plainMessages);
        if (baseShown && base) {
          base->FillFileNameList();
          base->FillPageList();
        }
      }
      // Clicks queued during the pass reach the command while it is still busy.
      QCoreApplication::processEvents();
      EndCommand();
      return;
    }
  } catch (...) {
    platform::ShowError(analysis::kAnalysisSettingsError);
    if (status) status->close();
    status.reset();
    cursor.Restore();
    // Whatever the last analysis left is no longer the result of these settings.
    analysis::ResetResult();
    ForgetAnalysedLogs();
  }

  // Every failure leaves an empty result, shown as such, and the result commands off.
  mnuViewRefresh_Click();
  EnableResultCommands(false);
  EndCommand();
}

void frmMain::mnuViewRefresh_Click() {
  if (frmBase* base = BaseWindow(); base && base->aabShowMe()) base->ShowTotals();
  for (GraphKind kind : kAllGraphKinds) {
    GraphWindow* graph = Graph(kind);
    if (graph && graph->ShowMe()) graph->SetValues();
  }
}

}  // namespace vorel::ui
