// The analysis command (new or additional analysis) and the redraw command.
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <memory>
#include <stdexcept>

#include "analysis/analysis_pass.h"
#include "analysis/companion.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "ui/main/frm_main.h"
#include "ui/main/frm_status.h"
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

}  // namespace

void frmMain::mnuEditAnalize_Click(int16_t Index) {
  if (busy_) return;
  busy_ = true;
  WaitCursor cursor;
  std::unique_ptr<frmStatus> status;
  const QPointer<frmBase> base = BaseWindow();
  const bool baseShown = base && base->aabShowMe();

  try {
    if (baseShown) StoreBaseFields(*base);

    const std::string logFile = settings::ParamText("LogFile", 1);
    bool failed = false;
    if (logFile.empty() || !platform::FileExists(logFile)) {
      analysis::ResetResult();
      platform::ShowError("ログファイルが見つかりません。\r\n" + logFile);
      if (baseShown) base->cmbFileName->setFocus();
      failed = true;
    } else if (settings::ParamFlag("SpecifyPage") && settings::ParamText("Page", 1).empty()) {
      analysis::ResetResult();
      platform::ShowError("解析するページを指定してください。");
      failed = true;
    }
    int32_t records = 0;
    if (!failed) {
      records = analysis::GetLogLineCount();
      if (records < 0) {
        analysis::ResetResult();
        platform::ShowError("ログファイルを解析できません。\r\n" + logFile);
        failed = true;
      } else if (records <= 3) {
        analysis::ResetResult();
        platform::ShowError("ログファイルの内容がありません。\r\n" + logFile);
        failed = true;
      }
    }

    if (!failed) {
      const int32_t checkLine = settings::ParamInt("CheckLine");
      if (checkLine <= 0) throw std::domain_error("CheckLine");
      // The bar's range is 16-bit.
      if (records / checkLine > 32767) throw std::overflow_error("progress range");
      status = std::make_unique<frmStatus>(this);
      if (records > checkLine) {
        status->show();
        status->aauStausInit(static_cast<int16_t>(records / checkLine), "アクセスログ解析中です。");
      }
      cursor.Set();

      bool analysed = false;
      {
        ReceiverScope scope(status.get());
        analysed = analysis::AnalyzeLog(Index);
      }
      const int32_t total = analysis::ResultCount(0);
      if (analysed && total >= 1) {
        EnableResultCommands(true);
      } else if (analysed) {
        analysis::ResetResult();
        std::string text = "有効なデータがありませんでした。";
        if (settings::ParamText("Page", 1).find(')') != std::string::npos)
          text += "\r\n（解析ページの指定方法が Ver0.20 から変更されています）";
        platform::CurrentPrompter().ShowMessage({text, "確認", platform::MessageIcon::Warning,
                                                 platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
        EnableResultCommands(false);
      } else {
        analysis::ResetResult();
        EnableResultCommands(false);
      }
      mnuViewRefresh_Click();
      status->close();
      status.reset();
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
    platform::ShowError("解析できませんでした。\r\n設定情報を確認してください。（不正な日付など）");
    if (status) status->close();
    status.reset();
    cursor.Restore();
    // Whatever the last analysis left is no longer the result of these settings.
    analysis::ResetResult();
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
