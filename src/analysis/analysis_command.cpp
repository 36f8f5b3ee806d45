#include "analysis/analysis_command.h"

#include <string>

#include "analysis/analysis_pass.h"
#include "analysis/companion.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"

namespace vorel::analysis {
namespace {

AnalysisPreparation Refuse(LogProblem problem, const std::string& message) {
  ResetResult();
  platform::ShowError(message);
  return {problem, 0, 0};
}

}  // namespace

AnalysisPreparation PrepareAnalysis() {
  const std::string logFile = settings::ParamText("LogFile", 1);
  if (logFile.empty() || !platform::FileExists(logFile))
    return Refuse(LogProblem::MissingLog, "ログファイルが見つかりません。\r\n" + logFile);
  if (settings::ParamFlag("SpecifyPage") && settings::ParamText("Page", 1).empty())
    return Refuse(LogProblem::NoPage, "解析するページを指定してください。");
  const int32_t records = GetLogLineCount();
  if (records < 0) return Refuse(LogProblem::Unreadable, "ログファイルを解析できません。\r\n" + logFile);
  if (records <= 3) return Refuse(LogProblem::TooFewRecords, "ログファイルの内容がありません。\r\n" + logFile);
  const int32_t checkLine = settings::ParamInt("CheckLine");
  if (checkLine <= 0 || records / checkLine > 32767) throw ProgressRangeError("progress range");
  return {LogProblem::None, records, checkLine};
}

AnalysisOutcome RunAnalysis(int additional) {
  if (!AnalyzeLog(additional)) {
    ResetResult();
    return AnalysisOutcome::Failed;
  }
  return JudgeCompletedPass();
}

AnalysisOutcome JudgeCompletedPass() {
  if (Result().Total >= 1) return AnalysisOutcome::Counted;
  ResetResult();
  std::string text = "有効なデータがありませんでした。";
  if (settings::ParamText("Page", 1).find(')') != std::string::npos)
    text += "\r\n（解析ページの指定方法が Ver0.20 から変更されています）";
  platform::CurrentPrompter().ShowMessage(
      {text, "確認", platform::MessageIcon::Warning, platform::MessageButtons::Ok, platform::MessageAnswer::Ok});
  return AnalysisOutcome::NothingCounted;
}

}  // namespace vorel::analysis
