// Which log files the current analysis result holds: the log of the last new
// analysis and those added to it since. The summary window marks totals that
// do not belong to the log it names, and an additional analysis asks before
// it counts a log a second time.
#pragma once

#include <string>
#include <vector>

namespace vorel::ui {

// A new analysis counted `path`: the result holds it alone.
void RecordNewAnalysis(const std::string& path);
// An additional analysis counted `path` on top of the result.
void RecordAdditionalAnalysis(const std::string& path);
// The result was emptied: it holds no log.
void ForgetAnalysedLogs();

// Whether the result holds this log (the same file, however the path is written).
bool IsLogAnalysed(const std::string& path);

}  // namespace vorel::ui
