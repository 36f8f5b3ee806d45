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
#include "ui/main/frm_main.h"
#include "ui/main/frm_status.h"
#include "ui/main/repeat_log_question.h"
#include "ui/results/analysed_logs.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_window.h"

namespace vorel::ui {
namespace {

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

// The hourglass for as long as the pass runs.
class WaitCursor {
 public:
  void Set() {
    if (!set_) QApplication::setOverrideCursor(Qt::WaitCursor);
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

// The pass reports its progress to the status window for as long as it runs.
class ReceiverScope {
 public:
  explicit ReceiverScope(analysis::ProgressReceiver* receiver) { analysis::SetProgressReceiver(receiver); }
  ~ReceiverScope() { analysis::SetProgressReceiver(nullptr); }
};

// Every message the command shows reports a failure, whose result is empty.
// Before the message appears, the windows show that empty result and the
// result commands are off, so no old graph or total stands behind it.
class EmptyResultBeforeMessages : public platform::Prompter {
 public:
  explicit EmptyResultBeforeMessages(frmMain& main) : main_(main), inner_(platform::CurrentPrompter()) {}

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
      busy_ = false;
      return;
    }
    if (ready.problem == analysis::LogProblem::None) {
      // The window appears with the pass's first position: once the log has
      // proved longer than CheckLine records.
      status = std::make_unique<frmStatus>(this);
      status->aauStausInit(analysis::kProgressRange, "アクセスログ解析中です。");
      cursor.Set();

      analysis::AnalysisOutcome outcome;
      {
        ReceiverScope scope(status.get());
        outcome = analysis::RunAnalysis(Index);
      }
      const bool counted = outcome == analysis::AnalysisOutcome::Counted;
      EnableResultCommands(counted);
      if (!counted) ForgetAnalysedLogs();
      else if (Index == 1) RecordAdditionalAnalysis(log);
      else RecordNewAnalysis(log);
      mnuViewRefresh_Click();
      status->close();
      status.reset();
      analysis::WarnIfLogEndedEarly(plainMessages);
      if (baseShown && base) {
        base->FillFileNameList();
        base->FillPageList();
      }
      cursor.Restore();
      // Clicks queued during the pass reach the command while it is still busy.
      QCoreApplication::processEvents();
      busy_ = false;
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
  busy_ = false;
}

void frmMain::mnuViewRefresh_Click() {
  if (frmBase* base = BaseWindow(); base && base->aabShowMe()) base->ShowTotals();
  for (GraphKind kind : kAllGraphKinds) {
    GraphWindow* graph = Graph(kind);
    if (graph && graph->ShowMe()) graph->SetValues();
  }
}

}  // namespace vorel::ui
