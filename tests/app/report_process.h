// Runs the built vorel-report as a child process and collects what it left:
// exit status, standard output, standard error.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorel::testing {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// `stderrIsTerminal` gives the child a pseudo-terminal as standard error;
// `standardInput`, when given, is fed to the child through a pipe (otherwise
// its standard input is the test's).
ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& workDir,
                         bool stderrIsTerminal = false, const std::optional<std::string>& standardInput = {});

}  // namespace vorel::testing
