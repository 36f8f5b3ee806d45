// The frame's history command: the current log (the summary window's file,
// or the last one analysed) goes into a history file chosen in a dialog.
#include "history/history_adder.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "ui/main/frm_main.h"

namespace vorel::ui {

void frmMain::mnuFileAddHistory_Click() {
  const std::string log = CurrentLogPath();
  if (log.empty()) {
    platform::ShowError("ログファイルを指定してください。");
    return;
  }
  platform::FileDialogRequest request;
  request.save = true;  // a new history file may be named
  request.title = "履歴に追加";
  request.filter = "履歴ファイル (*.history)|*.history|すべてのファイル (*.*)|*.*";
  const std::optional<std::string> history = platform::CurrentPrompter().ChooseFile(request);
  if (!history || history->empty()) return;
  const history::AddOutcome outcome = history::AddLogToHistory(*history, log, settings::ParamText("LogFormat"));
  if (!outcome.ok) {
    platform::ShowError(history::AddFailureMessage(outcome, *history, log));
    return;
  }
  platform::CurrentPrompter().ShowMessage(
      {"履歴に追加しました。\r\n" + *history + "\r\n追加したページビュー: " + std::to_string(outcome.added) +
           " 件\r\n追加済みのページビュー: " + std::to_string(outcome.alreadyHad) + " 件",
       "完了", platform::MessageIcon::Information, platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
}

}  // namespace vorel::ui
