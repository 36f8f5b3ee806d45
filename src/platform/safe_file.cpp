#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/prompter.h"

namespace vorel::platform {
namespace {

std::function<bool(int)>& Fault() {
  static std::function<bool(int)> fault;
  return fault;
}

bool Injected(int step) { return Fault() && Fault()(step); }

std::string TemporaryName(const std::string& path) {
  static std::mt19937 rng{std::random_device{}()};
  return path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(rng() % 100000);
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void SetWriteFaultForTesting(std::function<bool(int)> fault) { Fault() = std::move(fault); }

bool WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& failureText) {
  const std::string temp = TemporaryName(path);
  int fd = -1;
  auto giveUp = [&] {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return false;
  };
  // Keep the permissions of a file being replaced.
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

  while (Injected(0) || (fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode)) < 0) {
    fd = -1;
    if (!AskRetry(failureText)) return giveUp();
  }
  while (true) {
    bool ok = !Injected(1) && ::lseek(fd, 0, SEEK_SET) == 0 && ::ftruncate(fd, 0) == 0 && WriteAll(fd, bytes);
    if (ok) break;
    if (!AskRetry(failureText)) return giveUp();
  }
  while (Injected(2) || ::fsync(fd) != 0) {
    if (!AskRetry(failureText)) return giveUp();
  }
  ::close(fd);
  fd = -1;
  while (Injected(3) || ::rename(temp.c_str(), path.c_str()) != 0) {
    if (!AskRetry(failureText)) return giveUp();
  }
  return true;
}

}  // namespace vorel::platform
