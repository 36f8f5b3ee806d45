// The CSV report for spreadsheets: the text report's blocks with quoted label
// cells and bare counts.
#pragma once

#include <string>
#include <string_view>

#include "export/report_common.h"

namespace vorel::reports {

// Writes the current result to `path` (CP932, CR LF). False when the user
// cancelled after a write error; any old file at `path` then stays as it was.
bool WriteCsvReport(const std::string& path);

// The report itself (UTF-8), as WriteCsvReport writes it.
std::string CsvReport();
// The report's lines, added to `out` in order.
void AddCsvReport(ReportLines& out);

// A text cell: the text in double quotes, each double quote inside doubled so
// that a name holding quotes or commas reads back as one cell.
std::string CsvCell(std::string_view text);

// The cell of a name from the log: as ReportName writes it, and with a
// leading "'" when it begins with "=", "+", "-", "@" or TAB, which a
// spreadsheet would take for a formula.
std::string CsvNameCell(std::string_view name);

}  // namespace vorel::reports
