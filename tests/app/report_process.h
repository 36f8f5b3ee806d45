// Runs the built vorel-report as a child process and collects what it left:
// exit status, standard output, standard error.
#pragma once

#include <string>
#include <vector>

namespace vorel::testing {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// `stderrIsTerminal` gives the child a pseudo-terminal as standard error.
ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& workDir,
                         bool stderrIsTerminal = false);

}  // namespace vorel::testing
