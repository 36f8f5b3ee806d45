// The frame's file and help commands: the log file, the save of the results,
// the registry export, the help contents and the About box.
#include <QCheckBox>
#include <QComboBox>

#include "export/save_results.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "settings/param_store.h"
#include "settings/registry_settings.h"
#include "ui/main/frm_about.h"
#include "ui/main/frm_main.h"
#include "ui/results/frm_base.h"

namespace vorel::ui {

std::optional<std::string> frmMain::ChooseFileToWrite(const std::string& filter) {
  platform::FileDialogRequest request;
  request.save = true;
  request.filter = filter;
  request.initialPath = dlgCommonDialogFileName_;
  std::optional<std::string> path = platform::CurrentPrompter().ChooseFile(request);
  if (!path || path->empty()) return std::nullopt;
  dlgCommonDialogFileName_ = *path;
  if (platform::FileExists(*path) &&
      !platform::AskYesNo(*path + "\r\nこのファイルはすでに存在します。\r\n\r\n上書きしますか？", kProgramTitle))
    return std::nullopt;
  return path;
}

std::string frmMain::CurrentLogPath() const {
  if (const frmBase* base = BaseWindow(); base && base->aabShowMe()) return base->cmbFileName->currentText().toStdString();
  return settings::ParamText("LogFile", 1);
}

void frmMain::mnuFileOpen_Click() {
  platform::FileDialogRequest request;
  request.filter = kLogFileFilter;
  // The dialog opens where the current log lies.
  const std::string current = CurrentLogPath();
  request.initialPath = current.empty() ? dlgCommonDialogFileName_ : current;
  const std::optional<std::string> path = platform::CurrentPrompter().ChooseFile(request);
  if (!path || path->empty()) return;
  dlgCommonDialogFileName_ = *path;
  // Touching the summary window's field opens the window when it is closed.
  if (!IsResultWindowOpen(ResultSlot::Base)) OpenResultWindow(ResultSlot::Base);
  BaseWindow()->cmbFileName->setEditText(QString::fromStdString(*path));
}

void frmMain::mnuFileSave_Click() {
  try {
    const std::optional<std::string> path = ChooseFileToWrite(
        "テキストファイル (*.txt)|*.txt|ＣＳＶファイル (*.csv)|*.csv|ＨＴＭＬファイル (*.html;*.htm)|*.html;*.htm"
        VOREL_ALL_FILES_FILTER);
    if (!path) return;
    // The writers report their own failures.
    reports::SaveResults(*path, reports::ChooseReportFormat(*path));
  } catch (...) {
    // Anything unexpected ends the command quietly.
  }
}

void frmMain::mnuFileRegSave_Click() {
  const std::optional<std::string> path =
      ChooseFileToWrite("レジストリファイル (*.reg)|*.reg" VOREL_ALL_FILES_FILTER);
  if (!path) return;
  settings::SaveParamsToRegistry();
  settings::ExportRegFile(*path);
}

// Printing, the FTP dialog, the URL list and the options dialog come with
// their own windows; until then their commands have nothing to open.
// Page setup and print (ui/print), FTP (ui/ftp), URL list (ui/urllist) and
// options (ui/options) live with their windows.

void frmMain::mnuHelpContents_Click() { platform::ShowHelpContents(this); }

void frmMain::mnuHelpAbout_Click() {
  frmAbout about(this);
  about.exec();
}

void frmMain::AnalyseFile(const std::string& path) {
  settings::SetParam("LogFile", path);
  settings::SetParam("SpecifyDate", settings::ParamInput{false});
  settings::SetParam("SpecifyPage", settings::ParamInput{false});
  // An open summary window is where the command reads its choices from.
  if (frmBase* base = BaseWindow(); base && base->aabShowMe()) {
    base->FillFileNameList();
    base->chkSpecifyDate->setChecked(true);
    base->chkSpecifyPage->setChecked(true);
  }
  mnuEditAnalize_Click(0);
}

}  // namespace vorel::ui
