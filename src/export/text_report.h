// The plain-text report: analysis conditions, the access total, then one block
// per period and per category table.
#pragma once

#include <string>

#include "export/report_common.h"

namespace vorel::reports {

// Writes the current result to `path` (CP932, CR LF). False when the user
// cancelled after a write error; any old file at `path` then stays as it was.
bool WriteTextReport(const std::string& path);

// The report itself (UTF-8), as WriteTextReport writes it.
std::string TextReport();
// The report's lines, added to `out` in order.
void AddTextReport(ReportLines& out);

}  // namespace vorel::reports
