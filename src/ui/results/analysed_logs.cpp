#include "ui/results/analysed_logs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vorel::ui {
namespace {

std::vector<std::string>& Logs() {
  static std::vector<std::string> logs;
  return logs;
}

// "logs/../logs/a.log", "./a.log" and a link to it name the same file.
std::string SameFileKey(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

}  // namespace

void RecordNewAnalysis(const std::string& path) { Logs() = {SameFileKey(path)}; }

void RecordAdditionalAnalysis(const std::string& path) { Logs().push_back(SameFileKey(path)); }

void ForgetAnalysedLogs() { Logs().clear(); }

bool IsLogAnalysed(const std::string& path) {
  if (path.empty()) return false;
  const std::string key = SameFileKey(path);
  return std::find(Logs().begin(), Logs().end(), key) != Logs().end();
}

}  // namespace vorel::ui
