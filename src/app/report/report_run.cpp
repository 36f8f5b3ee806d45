#include "app/report/report_run.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "analysis/result.h"
#include "app/report/terminal_progress.h"
#include "export/save_results.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"

namespace vorel::report_app {
namespace {

using settings::ParamFlag;
using settings::ParamInt;
using settings::ParamText;

constexpr const char* kSettingsError = "解析できませんでした。\r\n設定情報を確認してください。（不正な日付など）";

// Messages of the headless prompter, with the progress bar wiped first so
// that they do not land in the middle of it.
class ReportPrompter : public platform::HeadlessPrompter {
 public:
  platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override {
    if (progress) progress->Clear();
    return HeadlessPrompter::ShowMessage(request);
  }
  TerminalProgress* progress = nullptr;
};

// Installs the progress bar as the pass's receiver for one run.
class ProgressScope {
 public:
  ProgressScope(ReportPrompter* prompter, std::unique_ptr<TerminalProgress> bar)
      : prompter_(prompter), bar_(std::move(bar)) {
    if (prompter_) prompter_->progress = bar_.get();
    analysis::SetProgressReceiver(bar_.get());
  }
  ~ProgressScope() {
    analysis::SetProgressReceiver(nullptr);
    if (prompter_) prompter_->progress = nullptr;
  }

 private:
  ReportPrompter* prompter_;
  std::unique_ptr<TerminalProgress> bar_;
};

enum class RunOutcome { Counted, NothingCounted, Failed };

void ShowWarning(const std::string& text) {
  platform::CurrentPrompter().ShowMessage({text, "確認", platform::MessageIcon::Warning,
                                           platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
}

// One run of the analysis command on LogFile entry 1: its checks, the pass,
// and its judgement of the outcome. Every failure leaves the result empty.
RunOutcome AnalyseOne(int additional, bool showProgress, ReportPrompter* prompter) {
  const std::string logFile = ParamText("LogFile", 1);
  if (logFile.empty() || !platform::FileExists(logFile)) {
    analysis::ResetResult();
    platform::ShowError("ログファイルが見つかりません。\r\n" + logFile);
    return RunOutcome::Failed;
  }
  if (ParamFlag("SpecifyPage") && ParamText("Page", 1).empty()) {
    analysis::ResetResult();
    platform::ShowError("解析するページを指定してください。");
    return RunOutcome::Failed;
  }
  const int32_t records = analysis::GetLogLineCount();
  if (records < 0) {
    analysis::ResetResult();
    platform::ShowError("ログファイルを解析できません。\r\n" + logFile);
    return RunOutcome::Failed;
  }
  if (records <= 3) {
    analysis::ResetResult();
    platform::ShowError("ログファイルの内容がありません。\r\n" + logFile);
    return RunOutcome::Failed;
  }
  const int32_t checkLine = ParamInt("CheckLine");
  // The progress range is 16-bit, as in the desktop program.
  if (checkLine <= 0 || records / checkLine > 32767) {
    analysis::ResetResult();
    platform::ShowError(kSettingsError);
    return RunOutcome::Failed;
  }

  bool analysed = false;
  {
    std::unique_ptr<TerminalProgress> bar;
    if (showProgress && records > checkLine)
      bar = std::make_unique<TerminalProgress>(stderr, std::filesystem::path(logFile).filename().string(), records,
                                               checkLine);
    ProgressScope scope(prompter, std::move(bar));
    analysed = analysis::AnalyzeLog(additional);
  }
  if (!analysed) {
    analysis::ResetResult();
    return RunOutcome::Failed;
  }
  if (analysis::Result().Total >= 1) return RunOutcome::Counted;

  analysis::ResetResult();
  std::string text = "有効なデータがありませんでした。";
  if (ParamText("Page", 1).find(')') != std::string::npos)
    text += "\r\n（解析ページの指定方法が Ver0.20 から変更されています）";
  ShowWarning(text);
  return RunOutcome::NothingCounted;
}

// Command-line choices over the settings file's.
void ApplyOverrides(const ReportOptions& o) {
  using settings::ParamInput;
  using settings::SetParam;
  if (o.allDates) SetParam("SpecifyDate", ParamInput{false});
  if (o.from || o.to) SetParam("SpecifyDate", ParamInput{true});
  if (o.from) SetParam("StartDate", ParamInput{*o.from});
  if (o.to) SetParam("EndDate", ParamInput{*o.to});
  if (o.allPages) SetParam("SpecifyPage", ParamInput{false});
  if (o.page) {
    SetParam("SpecifyPage", ParamInput{true});
    SetParam("Page", ParamInput{*o.page});
  }
}

ExitStatus WriteReport(const std::string& output) {
  const reports::ReportFormat format = reports::ChooseReportFormat(output);
  const std::string image = platform::FolderWithSeparator(output) + "bar.gif";
  const bool imageWasThere = platform::FileExists(image);
  if (reports::SaveResults(output, format)) return kReportWritten;
  // A failed HTML report takes the image it brought along with it.
  if (format == reports::ReportFormat::Html && !imageWasThere) std::remove(image.c_str());
  return kFailed;
}

}  // namespace

ExitStatus RunReport(const ReportOptions& options) {
  ReportPrompter prompter;
  platform::ScopedPrompter scoped(prompter);

  const std::string settingsFile = options.settingsFile.value_or(settings::SettingsFilePath());
  if (!settings::LoadParamsFromFileAt(settingsFile) && options.settingsFile) {
    platform::ShowError("設定ファイルを読み込めません。\r\n" + settingsFile);
    return kUsageError;
  }
  ApplyOverrides(options);
  analysis::LoadClassListsFrom(options.classFile.value_or(analysis::ClassFilePath()));
  analysis::ResetResult();

  const bool showProgress = !options.quiet && ::isatty(STDERR_FILENO);
  for (size_t i = 0; i < options.logs.size(); ++i) {
    settings::SetParam("LogFile", settings::ParamInput{options.logs[i]});
    RunOutcome outcome = RunOutcome::Failed;
    try {
      outcome = AnalyseOne(i == 0 ? 0 : 1, showProgress, &prompter);
    } catch (...) {
      analysis::ResetResult();
      platform::ShowError(kSettingsError);
    }
    if (outcome == RunOutcome::Failed) return kFailed;
  }
  if (analysis::Result().Total < 1) return kNothingCounted;
  return WriteReport(options.output);
}

}  // namespace vorel::report_app
