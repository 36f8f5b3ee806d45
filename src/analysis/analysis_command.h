// The checks and the judgement around one analysis pass, as the analysis
// command makes them: shared by the desktop program and vorel-report.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/prompter.h"

namespace vorel::analysis {

// What stops an analysis. Each has shown its message and left the result
// empty. A folder or a device named as the log is refused with a message
// saying what it is; a log of three records or fewer is found so by the pass
// itself (a stream is read once, never counted beforehand).
enum class LogProblem { None, MissingLog, Folder, Device, NoPage, Unreadable, TooFewRecords, UnknownTimeZone };

struct AnalysisPreparation {
  LogProblem problem = LogProblem::None;
  int64_t checkLine = 0;  // records above which the progress shows, and per step
};

inline constexpr const char* kAnalysisSettingsError =
    "解析できませんでした。\r\n設定情報を確認してください。（不正な日付など）";

// Checks LogFile entry 1 (without reading it), the page selection and the time zone.
AnalysisPreparation PrepareAnalysis();

enum class AnalysisOutcome { Counted, NothingCounted, Failed };

// Runs the pass (0 new, 1 additional) and judges it: a log of three records
// or fewer shows "ログファイルの内容がありません。"; a pass that counted
// nothing shows "有効なデータがありませんでした。". Either, like a failed
// pass, leaves the result empty.
AnalysisOutcome RunAnalysis(int additional);

// After a pass over a compressed log that was damaged or cut off, warns
// through `prompter` that the log ends early and that what came before was
// counted; otherwise shows nothing. True when it warned.
bool WarnIfLogEndedEarly(platform::Prompter& prompter);

// How many lines of the log could not be read, for the nothing-counted message.
std::string UnreadableLinesText(int64_t lines);

}  // namespace vorel::analysis
