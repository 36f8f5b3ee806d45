// The command line of vorel-report:
//   vorel-report [OPTIONS] LOG [LOG...] -o OUTFILE
// OUTFILE "-" is standard output.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/save_results.h"
#include "settings/date.h"

namespace vorel::report_app {

struct ReportOptions {
  std::vector<std::string> logs;
  std::string output;  // "-" for standard output
  std::optional<reports::ReportFormat> format;  // default: from the output's name, text for "-"
  std::optional<std::string> settingsFile;  // default: vorel.ini beside the program
  std::optional<std::string> classFile;     // default: vorel.dat beside the program
  std::optional<settings::Date> from;
  std::optional<settings::Date> to;
  bool allDates = false;
  std::optional<std::string> page;
  bool allPages = false;
  std::optional<std::string> logFormat;  // a server log's layout as its format string; checked here
  std::optional<std::string> timeZone;  // a TimeZone setting ("" for "--tz local"), checked to be known
  std::optional<int> robotMode;  // --robots: 2 apart in every log, 0 counted like everyone
  bool quiet = false;
  std::optional<std::string> history;  // add the logs to this history file, then report from it
};

struct ParsedCommandLine {
  enum class Action { Run, Help, Version, UsageError };
  Action action = Action::Run;
  ReportOptions options;
  std::string error;  // for UsageError, in Japanese
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText();
std::string UsageLine();
std::string VersionText();

// The file a log named on the command line is read from: "-" is standard
// input, read as a stream like any pipe.
std::string LogPath(const std::string& log);

}  // namespace vorel::report_app
