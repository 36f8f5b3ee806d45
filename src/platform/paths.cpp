#include "platform/paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vorel::platform {
namespace {

std::string& OverrideFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

std::string ProgramFolder() {
  if (!OverrideFolder().empty()) return OverrideFolder();
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, static_cast<size_t>(n));
  auto slash = exe.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return exe.substr(0, slash);
}

void SetProgramFolder(std::string folder) { OverrideFolder() = std::move(folder); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

std::string FolderWithSeparator(std::string_view path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(0, slash + 1));
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    std::string part = folder.substr(0, pos);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return FolderExists(folder);
}

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;  // the convention ignores relative paths
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return JoinPath(home, ".config");
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return JoinPath(pw->pw_dir, ".config");
  return ".config";
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  bytes = std::move(ss).str();
  return true;
}

SmallFileProblem ReadSmallFile(const std::string& path, std::string& bytes, size_t maxBytes) {
  // Not blocking: opening a FIFO for reading would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? SmallFileProblem::Missing : SmallFileProblem::Unreadable;
  auto done = [fd](SmallFileProblem problem) {
    ::close(fd);
    return problem;
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) return done(SmallFileProblem::Unreadable);
  if (!S_ISREG(st.st_mode)) return done(SmallFileProblem::NotRegular);
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) return done(SmallFileProblem::TooLarge);
  std::string read;
  read.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done(SmallFileProblem::Unreadable);
    if (n == 0) break;
    // The file may grow while it is read.
    if (read.size() + static_cast<size_t>(n) > maxBytes) return done(SmallFileProblem::TooLarge);
    read.append(buffer, static_cast<size_t>(n));
  }
  bytes = std::move(read);
  return done(SmallFileProblem::None);
}

}  // namespace vorel::platform
