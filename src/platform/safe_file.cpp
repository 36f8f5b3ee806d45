#include "platform/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

#include "platform/paths.h"
#include "platform/prompter.h"

namespace vorel::platform {
namespace {

std::function<bool(int)>& Fault() {
  static std::function<bool(int)> fault;
  return fault;
}

bool Injected(int step) { return Fault() && Fault()(step); }

// The temporary files being written, kept where a signal handler can reach
// them without allocating.
struct PendingTemporary {
  volatile sig_atomic_t used = 0;
  char path[PATH_MAX] = {};
};
std::array<PendingTemporary, 8> g_pending;

// Blocks the usual interrupting signals while the list of pending files changes.
class SignalsHeld {
 public:
  SignalsHeld() {
    const sigset_t set = EndingSignalSet();
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

void RememberTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  for (PendingTemporary& slot : g_pending) {
    if (slot.used) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used = 1;
    return;
  }
}

std::function<std::string()>& SuffixesForTesting() {
  static std::function<std::string()> suffixes;
  return suffixes;
}

// Twelve characters from the kernel's random source (letters and digits).
std::string RandomSuffix() {
  if (SuffixesForTesting()) return SuffixesForTesting()();
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char raw[12];
  if (::getrandom(raw, sizeof(raw), 0) != static_cast<ssize_t>(sizeof(raw))) {
    static std::random_device device;
    for (unsigned char& c : raw) c = static_cast<unsigned char>(device());
  }
  std::string suffix;
  for (unsigned char c : raw) suffix.push_back(kAlphabet[c % (sizeof(kAlphabet) - 1)]);
  return suffix;
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Every piece the source makes, in order; `written` counts the bytes.
bool WriteAll(int fd, const ByteSource& source, off_t* written = nullptr) {
  return source([&](std::string_view piece) {
    if (!WriteAll(fd, piece)) return false;
    if (written) *written += static_cast<off_t>(piece.size());
    return true;
  });
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Something that is not a regular file (a FIFO, a device, a terminal) takes
// the bytes as they come; there is nothing to replace and nothing to flush.
bool WriteDirectly(const std::string& path, const ByteSource& source, const std::string& failureText) {
  int fd = -1;
  while (Injected(0) || (fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC)) < 0) {
    fd = -1;
    if (!AskRetry(failureText)) return false;
  }
  while (Injected(1) || !WriteAll(fd, source)) {
    if (!AskRetry(failureText)) {
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  return true;
}

// A writable file in a folder that takes no new files: rewritten where it is.
bool WriteInPlace(const std::string& path, const ByteSource& source, const std::string& failureText) {
  int fd = -1;
  while (Injected(0) || (fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC)) < 0) {
    fd = -1;
    if (!AskRetry(failureText)) return false;
  }
  auto giveUp = [&] {
    ::close(fd);
    return false;
  };
  while (true) {
    off_t written = 0;
    const bool ok = !Injected(1) && ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, source, &written) &&
                    ::ftruncate(fd, written) == 0;
    if (ok) break;
    if (!AskRetry(failureText)) return giveUp();
  }
  while (Injected(2) || ::fsync(fd) != 0) {
    if (!AskRetry(failureText)) return giveUp();
  }
  ::close(fd);
  return true;
}

void OnInterrupt(int signal) {
  RemoveTemporaryFilesInProgress();
  ::_exit(128 + signal);
}

bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

int CreateTemporaryFile(const std::string& target, std::string& created) {
  const size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = folder + name + ".tmp-" + RandomSuffix();
    SignalsHeld held;
    int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd >= 0) {
      RememberTemporary(candidate);
      created = std::move(candidate);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

void ReleaseTemporaryFile(const std::string& created) {
  SignalsHeld held;
  for (PendingTemporary& slot : g_pending)
    if (slot.used && created == slot.path) slot.used = 0;
}

void RemoveTemporaryFilesInProgress() {
  for (PendingTemporary& slot : g_pending) {
    if (!slot.used) continue;
    ::unlink(slot.path);
    slot.used = 0;
  }
}

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), buffer, sizeof(buffer));
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof(buffer))) return current;
    std::string link(buffer, static_cast<size_t>(n));
    current = link[0] == '/' ? link : FolderWithSeparator(current) + link;
  }
  return current;
}

sigset_t EndingSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kEndingSignals) sigaddset(&set, signal);
  return set;
}

void CatchEndingSignals(void (*handler)(int), int flags) {
  for (int signal : kEndingSignals) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

void EndOnInterruptWithoutTemporaryFiles() { CatchEndingSignals(OnInterrupt, 0); }

void SetWriteFaultForTesting(std::function<bool(int)> fault) { Fault() = std::move(fault); }

void SetTemporarySuffixesForTesting(std::function<std::string()> suffixes) {
  SuffixesForTesting() = std::move(suffixes);
}

bool WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& failureText) {
  return WriteFileSafely(path, [bytes](const BytePut& put) { return put(bytes); }, failureText);
}

bool WriteFileSafely(const std::string& path, const ByteSource& source, const std::string& failureText) {
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return WriteDirectly(path, source, failureText);
  const std::string target = FollowLinks(path);

  std::string temp;
  int fd = -1;
  auto giveUp = [&] {
    if (fd >= 0) ::close(fd);
    if (!temp.empty()) {
      ::unlink(temp.c_str());
      ReleaseTemporaryFile(temp);
    }
    return false;
  };
  while (true) {
    if (Injected(0)) {
      errno = EACCES;
    } else {
      fd = CreateTemporaryFile(target, temp);
      if (fd >= 0) break;
    }
    if (exists && FolderRefusesNewFiles(errno) && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0)
      return WriteInPlace(target, source, failureText);
    if (!AskRetry(failureText)) return giveUp();
  }
  // A replaced file keeps its permissions and, where allowed, its owner.
  if (exists) {
    ::fchmod(fd, st.st_mode & 07777);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) (void)::fchown(fd, st.st_uid, st.st_gid);
  } else {
    ::fchmod(fd, NewFileMode());
  }
  while (true) {
    bool ok = !Injected(1) && ::lseek(fd, 0, SEEK_SET) == 0 && ::ftruncate(fd, 0) == 0 && WriteAll(fd, source);
    if (ok) break;
    if (!AskRetry(failureText)) return giveUp();
  }
  while (Injected(2) || ::fsync(fd) != 0) {
    if (!AskRetry(failureText)) return giveUp();
  }
  ::close(fd);
  fd = -1;
  while (Injected(3) || ::rename(temp.c_str(), target.c_str()) != 0) {
    if (!AskRetry(failureText)) return giveUp();
  }
  ReleaseTemporaryFile(temp);
  return true;
}

}  // namespace vorel::platform
