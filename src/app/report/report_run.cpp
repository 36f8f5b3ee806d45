#include "app/report/report_run.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "app/report/terminal_progress.h"
#include "export/save_results.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/terminal.h"
#include "settings/param_store.h"
#include "settings/settings_file.h"

namespace vorel::report_app {
namespace {

using settings::ParamText;

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

// One run of the analysis command on LogFile entry 1: its checks, the pass,
// and its judgement of the outcome. Every failure leaves the result empty.
analysis::AnalysisOutcome AnalyseOne(int additional, bool showProgress, ReportPrompter* prompter) {
  const analysis::AnalysisPreparation ready = analysis::PrepareAnalysis();
  if (ready.problem != analysis::LogProblem::None) return analysis::AnalysisOutcome::Failed;
  std::unique_ptr<TerminalProgress> bar;
  if (showProgress && ready.records > ready.checkLine) {
    const std::string logFile = ParamText("LogFile", 1);
    bar = std::make_unique<TerminalProgress>(stderr, std::filesystem::path(logFile).filename().string(),
                                             ready.records, ready.checkLine);
  }
  ProgressScope scope(prompter, std::move(bar));
  return analysis::RunAnalysis(additional);
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

// What a web server's log held, for the user to judge the counts by.
void ReportServerLogCounts(const std::string& log) {
  const analysis::ServerLogCounts counts = analysis::LastServerLogCounts();
  if (counts.lines == 0) return;
  const std::string text = std::filesystem::path(log).filename().string() + ": サーバーのログ " +
                           std::to_string(counts.lines) + " 行、ページビュー " + std::to_string(counts.pageViews) +
                           " 行、読み取れない行 " + std::to_string(counts.unreadable) + " 行";
  std::fprintf(stderr, "%s\n", platform::ToTerminalEncoding(text).c_str());
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
    analysis::AnalysisOutcome outcome = analysis::AnalysisOutcome::Failed;
    try {
      outcome = AnalyseOne(i == 0 ? 0 : 1, showProgress, &prompter);
      if (!options.quiet && outcome != analysis::AnalysisOutcome::Failed) ReportServerLogCounts(options.logs[i]);
    } catch (...) {
      analysis::ResetResult();
      platform::ShowError(analysis::kAnalysisSettingsError);
    }
    if (outcome == analysis::AnalysisOutcome::Failed) return kFailed;
  }
  if (analysis::Result().Total < 1) return kNothingCounted;
  return WriteReport(options.output);
}

}  // namespace vorel::report_app
