// vorel-report: analyses access logs without a screen and writes the text,
// CSV or HTML report that the desktop program's save command writes.
#include <cstdio>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "platform/safe_file.h"
#include "platform/terminal.h"

namespace {

void PrintTo(std::FILE* out, const std::string& utf8) {
  std::string text = vorel::platform::ToTerminalEncoding(utf8);
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorel::report_app;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.action) {
    case ParsedCommandLine::Action::Help:
      PrintTo(stdout, HelpText());
      return 0;
    case ParsedCommandLine::Action::Version:
      PrintTo(stdout, VersionText());
      return 0;
    case ParsedCommandLine::Action::UsageError:
      PrintTo(stderr, "vorel-report: " + parsed.error + "\n" + UsageLine() + "\n詳しくは vorel-report --help\n");
      return kUsageError;
    case ParsedCommandLine::Action::Run:
      break;
  }
  // Ctrl-C while a report is written must not leave a half-written temporary file.
  vorel::platform::EndOnInterruptWithoutTemporaryFiles();
  try {
    return RunReport(parsed.options);
  } catch (const std::exception& e) {
    PrintTo(stderr, std::string("vorel-report: ") + e.what() + "\n");
    return kFailed;
  }
}
