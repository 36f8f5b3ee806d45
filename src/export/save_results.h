// Saving the result: the report format follows from the file name, and each
// format has its writer.
#pragma once

#include <cstdint>
#include <string>

#include "export/report_common.h"

namespace vorel::reports {

enum class ReportFormat : int16_t { Text = 0, Csv = 1, Html = 2 };

// CSV for a name ending in ".csv", HTML for ".htm" or ".html" (any letter
// case), text for everything else (".txt", other extensions, none).
ReportFormat ChooseReportFormat(const std::string& path);

// Calls the writer of `format` (any value but Text and Csv means HTML). The
// writer reports its own failures; the result is false when the user
// cancelled one, which the desktop program ignores and vorel-report turns
// into its exit status.
bool SaveResults(const std::string& path, ReportFormat format);

// The report of `format` itself (UTF-8), for writing elsewhere than a file;
// an HTML page comes without its image.
std::string ReportText(ReportFormat format);
// The same report's lines, added to `out` in order.
void AddReport(ReportFormat format, ReportLines& out);

}  // namespace vorel::reports
