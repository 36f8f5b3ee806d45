// The checks and the judgement around one analysis pass, as the analysis
// command makes them: shared by the desktop program and vorel-report.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace vorel::analysis {

// What stops an analysis before it starts. Each has shown its message and
// left the result empty.
enum class LogProblem { None, MissingLog, NoPage, Unreadable, TooFewRecords };

struct AnalysisPreparation {
  LogProblem problem = LogProblem::None;
  int32_t records = 0;    // the log's record count
  int32_t checkLine = 0;  // records per progress step
};

// The progress range is 16-bit: a log too long for it (or a CheckLine that
// is not positive) cannot be analysed with these settings. Callers report it
// with kAnalysisSettingsError.
struct ProgressRangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kAnalysisSettingsError =
    "解析できませんでした。\r\n設定情報を確認してください。（不正な日付など）";

// Checks LogFile entry 1, the page selection and the record count.
// Throws ProgressRangeError when the progress range does not fit.
AnalysisPreparation PrepareAnalysis();

enum class AnalysisOutcome { Counted, NothingCounted, Failed };

// Runs the pass (0 new, 1 additional) and judges it: a pass that counted
// nothing shows "有効なデータがありませんでした。" and, like a failed
// pass, leaves the result empty.
AnalysisOutcome RunAnalysis(int additional);

// The judgement of a pass that completed into the shared result.
AnalysisOutcome JudgeCompletedPass();

}  // namespace vorel::analysis
