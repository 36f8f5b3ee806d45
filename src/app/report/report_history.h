// vorel-report --history: the logs are added to the history file before the
// report is made from the whole history.
#pragma once

#include <string>
#include <vector>

namespace vorel::report_app {

// Adds each log to the history, saying on standard error (unless `quiet`)
// how many page views each added and how many of its page views the history
// already had. False, after a message, when any addition failed; the
// additions before it stay.
bool AddLogsToHistory(const std::string& history, const std::vector<std::string>& logs, bool quiet);

}  // namespace vorel::report_app
