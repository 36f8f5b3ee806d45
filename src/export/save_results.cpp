#include "export/save_results.h"

#include <string_view>

#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/text_report.h"

namespace vorel::reports {
namespace {

// Whether `path` ends in `suffix` (lower-case ASCII), in any letter case.
bool EndsWithIgnoringCase(std::string_view path, std::string_view suffix) {
  if (path.size() < suffix.size()) return false;
  std::string_view tail = path.substr(path.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

ReportFormat ChooseReportFormat(const std::string& path) {
  if (EndsWithIgnoringCase(path, ".csv")) return ReportFormat::Csv;
  if (EndsWithIgnoringCase(path, ".htm") || EndsWithIgnoringCase(path, ".html")) return ReportFormat::Html;
  return ReportFormat::Text;
}

bool SaveResults(const std::string& path, ReportFormat format) {
  switch (format) {
    case ReportFormat::Text: return WriteTextReport(path);
    case ReportFormat::Csv: return WriteCsvReport(path);
    default: return WriteHtmlReport(path);
  }
}

std::string ReportText(ReportFormat format) {
  return ReportTextOf([format](ReportLines& out) { AddReport(format, out); });
}

void AddReport(ReportFormat format, ReportLines& out) {
  switch (format) {
    case ReportFormat::Text: return AddTextReport(out);
    case ReportFormat::Csv: return AddCsvReport(out);
    default: return AddHtmlReport(out);
  }
}

}  // namespace vorel::reports
