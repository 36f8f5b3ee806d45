#include "app/report/report_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "analysis/analysis_command.h"
#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "app/report/report_history.h"
#include "analysis/time_zone.h"
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

constexpr std::string_view kStandardOutput = "-";

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
// The bar appears with the pass's first position, once the log has proved
// longer than CheckLine records.
analysis::AnalysisOutcome AnalyseOne(int additional, bool showProgress, ReportPrompter* prompter) {
  const analysis::AnalysisPreparation ready = analysis::PrepareAnalysis();
  if (ready.problem != analysis::LogProblem::None) return analysis::AnalysisOutcome::Failed;
  std::unique_ptr<TerminalProgress> bar;
  if (showProgress)
    bar = std::make_unique<TerminalProgress>(stderr, std::filesystem::path(ParamText("LogFile", 1)).filename().string());
  ProgressScope scope(prompter, std::move(bar));
  const analysis::AnalysisOutcome outcome = analysis::RunAnalysis(additional);
  // Said even with -q: the figures lack the part of the log that was lost.
  analysis::WarnIfLogEndedEarly(platform::CurrentPrompter());
  return outcome;
}

// A file named on the command line must be a regular file of sensible size;
// anything else is a mistake on the command line. The message, or empty.
std::string NamedFileProblem(const std::string& path, const std::string& what) {
  std::string bytes;
  switch (platform::ReadSmallFile(path, bytes)) {
    case platform::SmallFileProblem::None: return {};
    case platform::SmallFileProblem::Missing: return what + "が見つかりません。\r\n" + path;
    case platform::SmallFileProblem::NotRegular: return what + "が通常のファイルではありません。\r\n" + path;
    case platform::SmallFileProblem::TooLarge: return what + "が大きすぎます（16 MiB まで）。\r\n" + path;
    case platform::SmallFileProblem::Unreadable: break;
  }
  return what + "を読み込めません。\r\n" + path;
}

// The output must not be one of the logs: the report would replace what it
// reports on.
std::string OutputProblem(const ReportOptions& options) {
  struct stat out {};
  const bool toStandardOutput = options.output == kStandardOutput;
  const bool outputExists = toStandardOutput ? ::fstat(STDOUT_FILENO, &out) == 0
                                             : ::stat(options.output.c_str(), &out) == 0;
  if (!outputExists || (toStandardOutput && !S_ISREG(out.st_mode))) return {};
  std::vector<std::string> inputs = options.logs;
  if (options.history) inputs.push_back(*options.history);
  for (const std::string& log : inputs) {
    struct stat in {};
    if (::stat(LogPath(log).c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
      return "出力先が解析するログと同じファイルです。\r\n" + (toStandardOutput ? std::string("-") : options.output);
  }
  return {};
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
  if (o.logFormat) SetParam("LogFormat", ParamInput{*o.logFormat});
  if (o.page) {
    SetParam("SpecifyPage", ParamInput{true});
    SetParam("Page", ParamInput{*o.page});
  }
  if (o.timeZone) SetParam("TimeZone", ParamInput{*o.timeZone});
  if (o.robotMode) SetParam("RobotMode", ParamInput{static_cast<long long>(*o.robotMode)});
}

bool WriteAllToStandardOutput(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

ExitStatus WriteReport(const ReportOptions& options) {
  const std::string& output = options.output;
  if (output == kStandardOutput) {
    const reports::ReportFormat format = options.format.value_or(reports::ReportFormat::Text);
    // In pieces, as a file gets it: a report of any size is never held whole.
    const platform::BytePut put = WriteAllToStandardOutput;
    reports::ReportLines out(put);
    reports::AddReport(format, out);
    if (out.Finish()) return kReportWritten;
    platform::ShowError("標準出力への書き込みに失敗しました。");
    return kFailed;
  }
  const reports::ReportFormat format = options.format.value_or(reports::ChooseReportFormat(output));
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
  std::string text = std::filesystem::path(log).filename().string() + ": ";
  // A file that mixes both kinds says how much of each it held.
  if (counts.recordLines > 0) text += "記録の行 " + std::to_string(counts.recordLines) + " 行、";
  text += "サーバーのログ " + std::to_string(counts.lines) + " 行、ページビュー " + std::to_string(counts.pageViews) +
          " 行、読み取れない行 " + std::to_string(counts.unreadable) + " 行";
  std::fprintf(stderr, "%s\n", platform::ToTerminalEncoding(text).c_str());
}

}  // namespace

ExitStatus RunReport(const ReportOptions& options) {
  ReportPrompter prompter;
  platform::ScopedPrompter scoped(prompter);

  std::string problem = OutputProblem(options);
  if (problem.empty() && options.settingsFile) problem = NamedFileProblem(*options.settingsFile, "設定ファイル");
  if (problem.empty() && options.classFile) problem = NamedFileProblem(*options.classFile, "解析情報ファイル");
  if (!problem.empty()) {
    platform::ShowError(problem);
    return kUsageError;
  }

  const std::string settingsFile = options.settingsFile.value_or(settings::SettingsFilePath());
  if (!settings::LoadParamsFromFileAt(settingsFile) && options.settingsFile) {
    platform::ShowError("設定ファイルを読み込めません。\r\n" + settingsFile);
    return kUsageError;
  }
  ApplyOverrides(options);
  // A zone the settings file names but the tz database lacks is a mistake in what the command was given.
  if (std::string zoneError; !analysis::TimeZone::FromSetting(settings::ParamText("TimeZone"), &zoneError)) {
    platform::ShowError(zoneError);
    return kUsageError;
  }
  if (!analysis::LoadClassListsFrom(options.classFile.value_or(analysis::ClassFilePath())) && options.classFile)
    return kUsageError;
  analysis::ResetResult();

  // With a history, the logs go into it and the report comes from it.
  if (options.history && !AddLogsToHistory(*options.history, options.logs, options.quiet)) return kFailed;
  const std::vector<std::string> logs = options.history ? std::vector{*options.history} : options.logs;
  const bool showProgress = !options.quiet && ::isatty(STDERR_FILENO);
  for (size_t i = 0; i < logs.size(); ++i) {
    settings::SetParam("LogFile", settings::ParamInput{LogPath(logs[i])});
    analysis::AnalysisOutcome outcome = analysis::AnalysisOutcome::Failed;
    try {
      outcome = AnalyseOne(i == 0 ? 0 : 1, showProgress, &prompter);
      if (!options.quiet && outcome != analysis::AnalysisOutcome::Failed) ReportServerLogCounts(logs[i]);
    } catch (...) {
      analysis::ResetResult();
      platform::ShowError(analysis::kAnalysisSettingsError);
    }
    if (outcome == analysis::AnalysisOutcome::Failed) return kFailed;
  }
  if (analysis::Result().Total < 1) return kNothingCounted;
  return WriteReport(options);
}

}  // namespace vorel::report_app
