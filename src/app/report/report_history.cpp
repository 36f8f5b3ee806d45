#include "app/report/report_history.h"

#include <cstdio>
#include <filesystem>

#include "app/report/report_options.h"
#include "history/history_adder.h"
#include "platform/prompter.h"
#include "platform/terminal.h"
#include "settings/param_store.h"

namespace vorel::report_app {

bool AddLogsToHistory(const std::string& history, const std::vector<std::string>& logs, bool quiet) {
  for (const std::string& log : logs) {
    const history::AddOutcome outcome =
        history::AddLogToHistory(history, LogPath(log), settings::ParamText("LogFormat"));
    if (!outcome.ok) {
      platform::ShowError(history::AddFailureMessage(outcome, history, log));
      return false;
    }
    if (quiet) continue;
    const std::string text = std::filesystem::path(log).filename().string() + ": 履歴に追加したページビュー " +
                             std::to_string(outcome.added) + " 件、追加済みのページビュー " +
                             std::to_string(outcome.alreadyHad) + " 件";
    std::fprintf(stderr, "%s\n", platform::ToTerminalEncoding(text).c_str());
  }
  return true;
}

}  // namespace vorel::report_app
