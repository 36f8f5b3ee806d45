#include "app/report/report_history.h"

#include <cstdio>
#include <filesystem>

#include "history/history_adder.h"
#include "platform/prompter.h"
#include "platform/terminal.h"

namespace vorel::report_app {

bool AddLogsToHistory(const std::string& history, const std::vector<std::string>& logs, bool quiet) {
  for (const std::string& log : logs) {
    const history::AddOutcome outcome = history::AddLogToHistory(history, log);
    if (!outcome.ok) {
      platform::ShowError("履歴に追加できませんでした。" + outcome.error + "\r\n" +
                          (outcome.historyError ? history : log));
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
