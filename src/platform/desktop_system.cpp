// The system's desktop through the freedesktop tools: xdg-open opens a file
// or URL with its associated application, xdg-mime names that application.
// Programs are started detached, so the caller never waits for them.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/desktop.h"

namespace vorel::platform {
namespace {

std::vector<char*> ArgumentVector(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// Starts the program in a grandchild of its own session, so that it outlives
// us and never becomes a zombie of ours. True once exec has succeeded.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv = ArgumentVector(program, arguments);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) {
      int devnull = open("/dev/null", O_RDWR);
      if (devnull >= 0) {
        dup2(devnull, STDIN_FILENO);
        dup2(devnull, STDOUT_FILENO);
      }
      execvp(argv[0], argv.data());
      int error = errno;
      (void)!write(report[1], &error, sizeof error);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  // Nothing read: exec closed the pipe, the program runs.
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

// Runs a program to its end and returns what it printed, or nothing when it
// could not run or failed.
std::optional<std::string> Capture(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv = ArgumentVector(program, arguments);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  pid_t child = fork();
  if (child < 0) {
    close(out[0]);
    close(out[1]);
    return std::nullopt;
  }
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      dup2(devnull, STDIN_FILENO);
      dup2(devnull, STDERR_FILENO);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t got = read(out[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (text.size() < 65536) text.append(buffer, static_cast<size_t>(got));
  }
  close(out[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

// Graphical plain-text editors, the desktops' own first. Terminal editors
// are left out: started detached they would have no terminal to run in.
constexpr const char* kTextEditors[] = {"gnome-text-editor", "gedit",      "kwrite", "kate",  "mousepad",
                                        "pluma",             "xed",        "featherpad", "leafpad", "geany",
                                        "xedit"};
constexpr const char* kProgramFolders[] = {"/usr/local/bin", "/usr/bin", "/bin"};

class SystemDesktop : public Desktop {
 public:
  bool Open(const std::string& target) override { return SpawnDetached("xdg-open", {target}); }

  std::optional<std::string> FindAssociatedProgram(const std::string& path) override {
    auto type = Capture("xdg-mime", {"query", "filetype", path});
    if (!type || type->empty()) return std::nullopt;
    auto program = Capture("xdg-mime", {"query", "default", *type});
    if (!program || program->empty()) return std::nullopt;
    return program;
  }

  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override {
    return SpawnDetached(program, arguments);
  }

  std::optional<std::string> FindTextEditor() override {
    for (const char* editor : kTextEditors)
      for (const char* folder : kProgramFolders) {
        std::string path = std::string(folder) + "/" + editor;
        if (access(path.c_str(), X_OK) == 0) return path;
      }
    return std::nullopt;
  }
};

Desktop* g_desktop = nullptr;

}  // namespace

Desktop& CurrentDesktop() {
  static SystemDesktop system;
  return g_desktop ? *g_desktop : system;
}

void SetDesktop(Desktop* desktop) { g_desktop = desktop; }

}  // namespace vorel::platform
