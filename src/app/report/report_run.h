// What vorel-report does once its command line is read: settings, the
// classification file, one analysis per log (each with the analysis
// command's checks), then the report.
#pragma once

#include "app/report/report_options.h"

namespace vorel::report_app {

enum ExitStatus : int {
  kReportWritten = 0,
  kNothingCounted = 1,
  kUsageError = 2,
  kFailed = 3,  // an analysis error in any run, or a write error
};

// Messages go through the current prompter (standard error by default).
ExitStatus RunReport(const ReportOptions& options);

}  // namespace vorel::report_app
