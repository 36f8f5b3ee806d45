// Adding a log's page views to a history file: one transaction per log, so
// an addition that fails or is interrupted leaves the history as it was; and
// never twice, by the log's identity and read position (see log_identity.h).
#pragma once

#include <cstdint>
#include <string>

namespace vorel::history {

struct AddOutcome {
  bool ok = false;
  int64_t added = 0;       // page views this addition took in
  int64_t alreadyHad = 0;  // page views of this log the history held before
  std::string error;       // why it failed (the paths are the caller's to name)
  bool historyError = false;  // the failure lies with the history file, not the log
};

// Adds the page views of the log at `logPath` (a record log or a web
// server's log, plain or compressed, as the analysis reads them) to the
// history at `historyPath`, which is created when absent. `logFormat` names a
// server log's layout as the LogFormat setting does (empty: found by itself);
// one that does not compile fails with the compiler's message.
AddOutcome AddLogToHistory(const std::string& historyPath, const std::string& logPath,
                           const std::string& logFormat = {});

// The message of a failed addition: what went wrong and the file it lies with.
std::string AddFailureMessage(const AddOutcome& outcome, const std::string& historyPath, const std::string& logPath);

}  // namespace vorel::history
