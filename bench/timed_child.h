// A command run as a child process and timed by the wall clock, for
// benchmarks that measure a program against another.
#pragma once

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace vorel::bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs `args` (the program looked up in PATH) and waits for it; false when
// it did not start or did not exit with 0. `seconds` is its wall-clock time.
inline bool RunTimedChild(std::vector<std::string> args, double& seconds) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  seconds = SecondsSince(start);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vorel::bench
