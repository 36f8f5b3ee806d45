#include "app/report_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "support/test_files.h"

extern char** environ;

namespace vorel::testing {
namespace {

std::string Drain(int fd) {
  std::string text;
  char buffer[4096];
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 30000) <= 0) break;
    ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // EIO once the child has closed the terminal
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace

ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& workDir,
                         bool stderrIsTerminal, const std::optional<std::string>& standardInput) {
  int input[2] = {-1, -1};
  if (standardInput && ::pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // A child that stops reading early must not take the test down with it.
  if (standardInput) std::signal(SIGPIPE, SIG_IGN);
  const std::string outPath = workDir + "/.stdout";
  const std::string errPath = workDir + "/.stderr";
  int master = -1, slave = -1;
  if (stderrIsTerminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
    throw std::runtime_error("openpty failed");

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (entry.rfind("LC_ALL=", 0) != 0 && entry.rfind("LANG=", 0) != 0) env.push_back(entry);
  }
  env.push_back("LC_ALL=C.UTF-8");  // messages in UTF-8, whatever the test runner's locale

  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(workDir.c_str()) != 0) ::_exit(126);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = stderrIsTerminal ? slave : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (input[0] >= 0) ::dup2(input[0], STDIN_FILENO);
    if (master >= 0) ::close(master);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    ::execve(exe.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  std::thread feeder;
  if (standardInput) {
    ::close(input[0]);
    // Written while the child runs, so that a long input cannot block both.
    feeder = std::thread([fd = input[1], &standardInput] {
      std::string_view rest = *standardInput;
      while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        rest.remove_prefix(static_cast<size_t>(n));
      }
      ::close(fd);
    });
  }
  ProcessResult result;
  if (stderrIsTerminal) {
    ::close(slave);
    result.err = Drain(master);
    ::close(master);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (feeder.joinable()) feeder.join();
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.out = ReadFile(outPath);
  if (!stderrIsTerminal) result.err = ReadFile(errPath);
  ::unlink(outPath.c_str());
  ::unlink(errPath.c_str());
  return result;
}

}  // namespace vorel::testing
