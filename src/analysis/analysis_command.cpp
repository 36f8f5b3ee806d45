#include "analysis/analysis_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "analysis/analysis_pass.h"
#include "analysis/result.h"
#include "analysis/time_zone.h"
#include "settings/param_store.h"

namespace vorel::analysis {
namespace {

AnalysisPreparation Refuse(LogProblem problem, const std::string& message) {
  ResetResult();
  platform::ShowError(message);
  return {problem, 0};
}

// What the log's path names, from its status alone: the log is not opened
// here, since a FIFO or a pipe can be read only once.
LogProblem PathProblem(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return LogProblem::MissingLog;
  if (S_ISDIR(info.st_mode)) return LogProblem::Folder;
  if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) return LogProblem::Device;
  if (::access(path.c_str(), R_OK) != 0) return LogProblem::Unreadable;
  return LogProblem::None;
}

}  // namespace

std::string UnreadableLinesText(int64_t lines) { return "読み取れない行が " + std::to_string(lines) + " 行ありました。"; }

AnalysisPreparation PrepareAnalysis() {
  const std::string logFile = settings::ParamText("LogFile", 1);
  switch (PathProblem(logFile)) {
    case LogProblem::MissingLog:
      return Refuse(LogProblem::MissingLog, "ログファイルが見つかりません。\r\n" + logFile);
    case LogProblem::Folder:
      return Refuse(LogProblem::Folder, "ログファイルに指定されたものはフォルダです。\r\n" + logFile);
    case LogProblem::Device:
      return Refuse(LogProblem::Device, "ログファイルに指定されたものはデバイスです。\r\n" + logFile);
    case LogProblem::Unreadable:
      return Refuse(LogProblem::Unreadable, "ログファイルを解析できません。\r\n" + logFile);
    default: break;
  }
  if (settings::ParamFlag("SpecifyPage") && settings::ParamText("Page", 1).empty())
    return Refuse(LogProblem::NoPage, "解析するページを指定してください。");
  if (std::string zoneError; !TimeZone::FromSetting(settings::ParamText("TimeZone"), &zoneError))
    return Refuse(LogProblem::UnknownTimeZone, zoneError);
  return {LogProblem::None, std::max<int64_t>(settings::ParamInt("CheckLine"), 1)};
}

AnalysisOutcome RunAnalysis(int additional) {
  if (!AnalyzeLog(additional)) {
    ResetResult();
    return AnalysisOutcome::Failed;
  }
  if (LastServerLogCounts().records <= 3) {
    ResetResult();
    platform::ShowError("ログファイルの内容がありません。\r\n" + settings::ParamText("LogFile", 1));
    return AnalysisOutcome::Failed;
  }
  if (Result().Total >= 1) return AnalysisOutcome::Counted;
  ResetResult();
  std::string text = "有効なデータがありませんでした。";
  if (settings::ParamText("Page", 1).find(')') != std::string::npos)
    text += "\r\n（解析ページの指定方法が Ver0.20 から変更されています）";
  // Lines that could not be read may be why: the file and how many.
  if (const int64_t unreadable = LastServerLogCounts().unreadable; unreadable > 0)
    text += "\r\n" + settings::ParamText("LogFile", 1) + "\r\n" + UnreadableLinesText(unreadable);
  platform::CurrentPrompter().ShowMessage(
      {text, "確認", platform::MessageIcon::Warning, platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
  return AnalysisOutcome::NothingCounted;
}

bool WarnIfLogEndedEarly(platform::Prompter& prompter) {
  if (!LastLogEndedEarly()) return false;
  prompter.ShowMessage({"ログファイルが途中で終わっています（壊れているか、途中までしかありません）。\r\n"
                        "読み取れたところまでを解析しました。\r\n" +
                            settings::ParamText("LogFile", 1),
                        "確認", platform::MessageIcon::Warning, platform::MessageButtons::Ok,
                        platform::MessageAnswer::Ok});
  return true;
}

}  // namespace vorel::analysis
